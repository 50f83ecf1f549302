#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "records/ProgressCounter.h"

namespace {

TEST(ProgressCounter, BarStaysWithinIntAndFills) {
  const std::int64_t counts[] = {-1, 999, INT_MAX, INT_MAX + 1LL, 100'000'000'000, INT64_MAX};
  for (const std::int64_t items : counts) {
    for (const int perStep : {1, 10, 100}) {
      const ProgressScale scale = progressScaleFor(items, perStep);
      if (items <= INT_MAX) {  // counted item by item, as ever
        EXPECT_EQ(scale.maximum, std::max<std::int64_t>(items, 0));
        EXPECT_EQ(scale.itemsPerStep, perStep);
        EXPECT_EQ(scale.step, perStep);
        continue;
      }
      // Once every item has passed, the bar is less than a step short of its end.
      const long double shown = static_cast<long double>(items / scale.itemsPerStep) * scale.step;
      EXPECT_LE(shown, scale.maximum) << items;
      EXPECT_GT(shown + scale.step, scale.maximum) << items;
      EXPECT_GE(scale.itemsPerStep, perStep);
    }
  }
}

}  // namespace
