#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

// What a chart draws in one pixel column when many points fall into it: the
// first and last point (in series order) and the lowest and highest value.
// Drawing first → lowest → highest → last per column gives the same pixels at
// the extremes as drawing every point, at a few points per column.
struct ColumnExtremes {
  int column = 0;
  std::uint32_t first = 0, last = 0, lowest = 0, highest = 0;  // indices into the series
};

namespace ColumnReduction {

// The columns of the series' points whose x lies in [x0, x1], mapped onto
// `columns` columns (x0 on column 0, x1 on the last); columns without a point
// are left out. `x(i)` and `y(i)` give point i's position and value. A point
// goes to column floor((x - x0) * columns / (x1 - x0)), the last column at the
// most; when x0 == x1 every point at x0 goes to column 0. Among equal values
// the lowest and highest are the earlier point. One walk over the points.
template <class X, class Y>
std::vector<ColumnExtremes> reduce(std::size_t count, X&& x, Y&& y, double x0, double x1, int columns) {
  if (columns <= 0 || !(x0 <= x1)) return {};
  struct Slot {
    bool used = false;
    double low = 0, high = 0;
    ColumnExtremes extremes;
  };
  std::vector<Slot> slots(static_cast<std::size_t>(columns));
  const double width = x1 - x0;
  const double scale = width > 0 ? columns / width : 0;  // a product per point, not a quotient
  const int lastColumn = columns - 1;
  std::size_t used = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double at = x(i);
    if (!(at >= x0 && at <= x1)) continue;  // a NaN is outside too
    int column = 0;
    // (at - x0) * scale is never negative here: truncation is the floor.
    if (width > 0) column = std::min(static_cast<int>((at - x0) * scale), lastColumn);
    const double value = y(i);
    const auto index = static_cast<std::uint32_t>(i);
    Slot& slot = slots[static_cast<std::size_t>(column)];
    if (!slot.used) {
      slot = {true, value, value, {column, index, index, index, index}};
      ++used;
      continue;
    }
    slot.extremes.last = index;
    if (value < slot.low) {
      slot.low = value;
      slot.extremes.lowest = index;
    }
    if (value > slot.high) {
      slot.high = value;
      slot.extremes.highest = index;
    }
  }
  std::vector<ColumnExtremes> result;
  result.reserve(used);
  for (const Slot& slot : slots)
    if (slot.used) result.push_back(slot.extremes);
  return result;
}

}  // namespace ColumnReduction
