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

// The points of one column of points whose x never goes down: a stretch of
// them, [begin, end).
struct ColumnStretch {
  int column = 0;
  std::uint32_t begin = 0, end = 0;
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

// The columns of points whose x never goes down (x(i) <= x(i + 1)), mapped as
// reduce maps them, as stretches of points: the edges of each are found by
// halving, so that only a few x are read per column, however many points it
// holds. Several series over the same x share them (extremes).
template <class X>
std::vector<ColumnStretch> stretches(std::size_t count, X&& x, double x0, double x1, int columns) {
  std::vector<ColumnStretch> result;
  if (columns <= 0 || !(x0 <= x1)) return result;
  const double width = x1 - x0;
  const double scale = width > 0 ? columns / width : 0;
  const int lastColumn = columns - 1;
  // The column of x, as reduce has it: never smaller for a larger x.
  const auto columnOf = [&](double at) {
    return width > 0 ? std::min(static_cast<int>((at - x0) * scale), lastColumn) : 0;
  };
  // The first point from `low` on for which `past` holds (`count` if none), looking
  // one, two, four ... points ahead first: a column of a few points costs a few reads.
  const auto firstPast = [&](std::size_t low, std::size_t high, auto&& past) {
    std::size_t step = 1;
    while (low + step < high && !past(low + step)) {
      low += step;
      step *= 2;
    }
    high = std::min(high, low + step);
    ++low;  // past(low) is false or low is the start, which is never past
    while (low < high) {
      const std::size_t middle = low + (high - low) / 2;
      if (past(middle))
        high = middle;
      else
        low = middle + 1;
    }
    return low;
  };
  if (count == 0) return result;
  std::size_t begin = 0;
  if (!(x(0) >= x0)) begin = firstPast(0, count, [&](std::size_t i) { return x(i) >= x0; });
  if (begin >= count || !(x(begin) <= x1)) return result;
  const std::size_t end =
      x(count - 1) <= x1 ? count : firstPast(begin, count, [&](std::size_t i) { return x(i) > x1; });
  for (std::size_t i = begin; i < end;) {
    const int column = columnOf(x(i));
    const std::size_t next =
        column == lastColumn ? end : firstPast(i, end, [&](std::size_t k) { return columnOf(x(k)) > column; });
    result.push_back({column, static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(next)});
    i = next;
  }
  return result;
}

// What reduce gives for the points of `stretches` with values `y(i)`.
template <class Y>
std::vector<ColumnExtremes> extremes(const std::vector<ColumnStretch>& stretches, Y&& y) {
  std::vector<ColumnExtremes> result;
  result.reserve(stretches.size());
  for (const ColumnStretch& s : stretches) {
    double low = y(s.begin), high = low;
    std::uint32_t lowest = s.begin, highest = s.begin;
    for (std::uint32_t i = s.begin + 1; i < s.end; ++i) {
      const double value = y(i);
      if (value < low) {
        low = value;
        lowest = i;
      }
      if (value > high) {
        high = value;
        highest = i;
      }
    }
    result.push_back({s.column, s.begin, s.end - 1, lowest, highest});
  }
  return result;
}

// reduce for points whose x never goes down, reading each x a few times per column at most.
template <class X, class Y>
std::vector<ColumnExtremes> reduceSorted(std::size_t count, X&& x, Y&& y, double x0, double x1, int columns) {
  return extremes(stretches(count, x, x0, x1, columns), y);
}

}  // namespace ColumnReduction
