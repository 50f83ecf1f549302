#pragma once

#include <QFileDialog>

class QMenu;

// The folder and record-file dialog: Qt's own file dialog, listing the
// folder's record files ("*.ｷﾛｸ") under the caption "ｷﾛｸ ファイル(*.ｷﾛｸ)".
//
// Qt takes the patterns from between a filter's parentheses only when they are
// ASCII; otherwise it filters by the caption's words and lists no file at all.
// The caption stays as it is, and the dialog's file model is given the pattern
// itself, again whenever the dialog applies its filter.
class RecordFileDialog : public QFileDialog {
  Q_OBJECT
 public:
  explicit RecordFileDialog(QWidget* parent);

  static QString filterCaption();  // "ｷﾛｸ ファイル(*.ｷﾛｸ)"
  static QString pattern();        // "*.ｷﾛｸ"

  // The record files of `folder` (empty: the working folder) as the items of
  // `menu`, replacing its items: "FileMenu<n>", each with the file's name as its data.
  static void listInMenu(QMenu* menu, const QString& folder);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void listRecordFiles();
};
