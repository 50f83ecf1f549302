#pragma once

#include <QStyledItemDelegate>

// Qt's file dialogs write a file's date in the system's locale ("7 Dec 2024
// 20:30:29" on a system that speaks C or English), whatever the default
// locale is. Installed on the application, this writes the date column of
// every file dialog's detail list in the default locale instead (Japanese:
// "2024/12/07 20:30").
class FileListDates : public QStyledItemDelegate {
  Q_OBJECT
 public:
  explicit FileListDates(QObject* parent);

  // The date shown for a file dialog's date column; empty for any other cell.
  static QString dateText(const QModelIndex& index);

  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 protected:
  // On the application: takes each file dialog's list as the dialog shows.
  bool eventFilter(QObject* watched, QEvent* event) override;
};
