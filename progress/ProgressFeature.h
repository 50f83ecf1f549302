#pragma once

#include "feature/Feature.h"

class ProgressWindow;

// The progress chart as a feature: 表示 → 進歩グラフ (Ctrl+P) opens the window,
// non-modal, made at the first opening; while open it follows the runs, the
// mode, the no-miss option and the era.
class ProgressFeature : public Feature {
 public:
  ProgressFeature();
  void open(const FeatureHost& host) override;  // Progress1Click

 private:
  void update(const FeatureHost& host);  // the record file, the runs in view, the mode, no-miss, today and the era

  ProgressWindow* window_ = nullptr;
};
