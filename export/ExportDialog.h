#pragma once

#include <QDialog>

class QCheckBox;
class QRadioButton;

// What the export saves: every run of the record file, the data of the view
// on the active tab, or the practice calendar's days; and whether a CSV file is written in Shift-JIS
// (which spreadsheet programs on Japanese systems open directly) rather than
// UTF-8. The file name and the format come next, from the save dialog.
class ExportDialog : public QDialog {
  Q_OBJECT
 public:
  ExportDialog(const QString& viewCaption, QWidget* parent = nullptr);

  static constexpr int HelpContext = 18000;  // F1 opens the export's help page

  enum class Content { View, EveryRun, Calendar };
  Content content() const;
  bool everyRun() const { return content() == Content::EveryRun; }
  bool shiftJis() const;

 private:
  QRadioButton* rbRuns_ = nullptr;
  QRadioButton* rbView_ = nullptr;
  QRadioButton* rbCalendar_ = nullptr;
  QCheckBox* cbShiftJis_ = nullptr;
};
