#pragma once

#include "feature/Feature.h"

class PracticeCalendarWindow;

// The practice calendar as a feature: 表示 → 練習カレンダー (Ctrl+Y) and its tool
// bar button open the window, non-modal, made at the first opening; while
// open it follows the runs, the mode and the era.
class CalendarFeature : public Feature {
 public:
  CalendarFeature();
  void open(const FeatureHost& host) override;  // Calendar1Click

 private:
  void update(const FeatureHost& host);  // the runs in view, the mode, today and the era

  PracticeCalendarWindow* window_ = nullptr;
};
