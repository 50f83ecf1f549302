#pragma once

#include <QDialog>

class QBoxLayout;
class QLabel;
class QPushButton;
class QSpinBox;

// "表示回数の制限": how many of the newest lines the history, graph and
// average views show (0 = all, at most 255). Created once and kept;
// TfrmAverCfg derives from it.
class TfrmRecent : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmRecent(QWidget* parent = nullptr);

  QLabel* Label1 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;   // 0..255
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // Cancel

 protected:
  // For TfrmAverCfg: creates Label1, SpinEdit1 and the buttons but lays out
  // nothing; the derived dialog arranges its rows of label and spin box,
  // then puts makeButtonRow() at the bottom.
  struct Derived {};
  TfrmRecent(QWidget* parent, Derived);
  QBoxLayout* makeButtonRow();  // OK and Cancel, centred
};
