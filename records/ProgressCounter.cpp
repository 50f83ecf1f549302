#include "records/ProgressCounter.h"

#include <algorithm>
#include <climits>

#include "records/LoadFeedback.h"

ProgressScale progressScaleFor(std::int64_t items, int itemsPerStep) {
  itemsPerStep = std::max(itemsPerStep, 1);
  if (items <= INT_MAX) return {static_cast<int>(std::max<std::int64_t>(items, 0)), itemsPerStep, itemsPerStep};
  const std::int64_t itemsPerPoint = items / INT_MAX + (items % INT_MAX != 0 ? 1 : 0);
  const std::int64_t points = (std::max<std::int64_t>(itemsPerStep, itemsPerPoint) + itemsPerPoint - 1) / itemsPerPoint;
  return {static_cast<int>(items / itemsPerPoint), static_cast<int>(points), points * itemsPerPoint};
}

ProgressCounter::ProgressCounter(LoadFeedback& feedback, std::int64_t items, int itemsPerStep) : feedback_(feedback) {
  const ProgressScale scale = progressScaleFor(items, itemsPerStep);
  itemsPerStep_ = scale.itemsPerStep;
  untilStep_ = itemsPerStep_;
  feedback.startProgress(scale.maximum, scale.step);
}

void ProgressCounter::stepProgress() { feedback_.stepProgress(); }

void ProgressCounter::countAhead(std::int64_t items) {
  while (items > 0) {
    if (untilStep_ == itemsPerStep_) feedback_.stepProgress();
    const std::int64_t taken = std::min(items, untilStep_);
    untilStep_ -= taken;
    items -= taken;
    if (untilStep_ == 0) untilStep_ = itemsPerStep_;
  }
}
