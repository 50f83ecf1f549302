#pragma once

#include <cstdint>

class LoadFeedback;

// How a load shows `items` (lines, entries) on the loading window's bar, whose
// values are ints: the bar's maximum, how far one step moves it and after how
// many items a step comes. Up to INT_MAX items the bar counts items and a step
// comes every `itemsPerStep`; beyond, a point of the bar stands for as many
// items as keep the maximum within INT_MAX, and a step comes every whole
// number of points.
struct ProgressScale {
  int maximum = 0;
  int step = 1;
  std::int64_t itemsPerStep = 1;
};
ProgressScale progressScaleFor(std::int64_t items, int itemsPerStep);

// Counts the items of a load and moves the loading window's bar as they pass.
class ProgressCounter {
 public:
  static constexpr int ReadStep = 100;  // lines or entries read per step
  static constexpr int WriteStep = 10;  // entries written per step

  // Starts the bar at 0 of `items`.
  ProgressCounter(LoadFeedback& feedback, std::int64_t items, int itemsPerStep);

  // More items; a step after every itemsPerStep of them.
  void count(std::int64_t items = 1) {
    for (untilStep_ -= items; untilStep_ <= 0; untilStep_ += itemsPerStep_) stepProgress();
  }
  // More items; a step for the first item of every itemsPerStep, the first
  // item included.
  void countAhead(std::int64_t items);

 private:
  void stepProgress();

  LoadFeedback& feedback_;
  std::int64_t itemsPerStep_ = 1;
  std::int64_t untilStep_ = 1;
};
