#pragma once

#include <cstdint>
#include <limits>

// An era's days as day counts (PracticeRecord::Date), both included; a side
// not set reaches as far as a day count goes.
struct EraDays {
  std::int32_t first = std::numeric_limits<std::int32_t>::min();
  std::int32_t last = std::numeric_limits<std::int32_t>::max();

  bool contains(std::int32_t day) const { return day >= first && day <= last; }
  bool operator==(const EraDays&) const = default;
};
