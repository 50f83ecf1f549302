#include "ui/RecordFileDialog.h"

#include <QAction>
#include <QDir>
#include <QFileSystemModel>
#include <QMenu>

using namespace Qt::StringLiterals;

RecordFileDialog::RecordFileDialog(QWidget* parent) : QFileDialog(parent, u"フォルダの変更と記録ファイルの選択"_s) {
  setOption(QFileDialog::DontUseNativeDialog);
  setFileMode(QFileDialog::ExistingFile);
  setAcceptMode(QFileDialog::AcceptOpen);
  setNameFilter(filterCaption());
  connect(this, &QFileDialog::filterSelected, this, &RecordFileDialog::listRecordFiles);
  listRecordFiles();
}

QString RecordFileDialog::filterCaption() { return u"ｷﾛｸ ファイル(*.ｷﾛｸ)"_s; }

QString RecordFileDialog::pattern() { return u"*.ｷﾛｸ"_s; }

void RecordFileDialog::listInMenu(QMenu* menu, const QString& folder) {
  menu->clear();
  const QStringList names =
      QDir(folder.isEmpty() ? u"."_s : folder)
          .entryList({pattern()}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                     QDir::Unsorted);
  int n = 0;
  for (const QString& name : names) {
    QAction* item = menu->addAction(QString(name).replace(u'&', u"&&"_s));
    item->setObjectName(u"FileMenu"_s + QString::number(++n));
    item->setData(name);
  }
}

void RecordFileDialog::showEvent(QShowEvent* event) {
  listRecordFiles();
  QFileDialog::showEvent(event);
}

void RecordFileDialog::listRecordFiles() {
  if (auto* model = findChild<QFileSystemModel*>()) model->setNameFilters({pattern()});
}
