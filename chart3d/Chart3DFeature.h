#pragma once

#include "feature/Feature.h"

// The 3D chart as a feature: 表示 → ３Ｄグラフ... (Ctrl+G) and its tool bar
// button, on a tab with a chart, open the window on the tab's points, modal,
// made and destroyed on each opening; 起動時に3Dグラフ表示 opens it after the
// first pass of the start.
class Chart3DFeature : public Feature {
 public:
  Chart3DFeature();
  void open(const FeatureHost& host) override;  // GraphButtonClick
};
