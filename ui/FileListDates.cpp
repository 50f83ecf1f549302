#include "ui/FileListDates.h"

#include <QAbstractProxyModel>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLocale>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

constexpr int DateColumn = 3;  // QFileSystemModel's: name, size, type, date

}  // namespace

FileListDates::FileListDates(QObject* parent) : QStyledItemDelegate(parent) {}

QString FileListDates::dateText(const QModelIndex& index) {
  QModelIndex source = index;
  const QAbstractItemModel* model = index.model();
  if (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(model)) {
    source = proxy->mapToSource(index);
    model = proxy->sourceModel();
  }
  const auto* files = qobject_cast<const QFileSystemModel*>(model);
  if (!files || source.column() != DateColumn) return {};
  const QDateTime modified = files->lastModified(source);
  return modified.isValid() ? QLocale().toString(modified, QLocale::ShortFormat) : QString();
}

void FileListDates::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (const QString text = dateText(index); !text.isEmpty()) option->text = text;
}

bool FileListDates::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    if (const auto* dialog = qobject_cast<QFileDialog*>(watched)) {
      auto* list = dialog->findChild<QTreeView*>(u"treeView"_s);
      if (list && list->itemDelegateForColumn(DateColumn) != this) list->setItemDelegateForColumn(DateColumn, this);
    }
  }
  // Not the item delegate's own filter: that one takes every widget for an
  // editor, and the date column is never edited.
  return false;
}
