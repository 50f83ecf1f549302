#pragma once

#include "ui/TfrmRecent.h"

// "平均値の表示設定": the average view's miss ceiling, minimum keystrokes and
// block size. Created once and kept.
class TfrmAverCfg : public TfrmRecent {
  Q_OBJECT
 public:
  explicit TfrmAverCfg(QWidget* parent = nullptr);

  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QSpinBox* SpinEdit2 = nullptr;  // minimum hits + misses, 0..999
  QSpinBox* SpinEdit3 = nullptr;  // block size, 0..999, step 10
};
