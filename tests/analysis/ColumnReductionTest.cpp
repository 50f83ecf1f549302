#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "analysis/ColumnReduction.h"

namespace {

// Against drawing every point: per column the first, last, lowest and highest (the earliest of equal values).
TEST(ColumnReduction, EachColumnKeepsTheExtremesOfDrawingEveryPoint) {
  std::mt19937 random(11);
  for (int round = 0; round < 40; ++round) {
    const std::size_t count = random() % 3000;
    const int columns = 1 + int(random() % 200);
    const double x0 = round % 5 ? 0 : 40, x1 = round % 5 ? 100 : 40;  // every fifth: x0 == x1
    std::vector<double> x(count), y(count);
    std::map<int, std::vector<std::uint32_t>> drawn;
    for (std::size_t i = 0; i < count; ++i) {
      x[i] = round % 2 ? double(i) : std::uniform_real_distribution<>(-20, 120)(random);  // sorted or scattered
      y[i] = double(random() % 50);                                                       // ties on purpose
      if (x[i] < x0 || x[i] > x1) continue;
      const int column = x0 == x1 ? 0 : std::min(int(std::floor((x[i] - x0) * (columns / (x1 - x0)))), columns - 1);
      drawn[column].push_back(std::uint32_t(i));
    }
    const auto reduced = ColumnReduction::reduce(
        count, [&](std::size_t i) { return x[i]; }, [&](std::size_t i) { return y[i]; }, x0, x1, columns);
    ASSERT_EQ(reduced.size(), drawn.size()) << "round " << round;
    auto column = drawn.begin();
    for (const ColumnExtremes& c : reduced) {
      const std::vector<std::uint32_t>& points = (column++)->second;
      const auto byValue = [&](std::uint32_t a, std::uint32_t b) { return y[a] < y[b]; };
      EXPECT_EQ(c.column, std::prev(column)->first);
      EXPECT_EQ(std::tuple(c.first, c.last, c.lowest, c.highest),
                std::tuple(points.front(), points.back(), *std::min_element(points.begin(), points.end(), byValue),
                           *std::max_element(points.begin(), points.end(), byValue)));
    }
  }
}

// Points whose x never goes down: the stretches give what reduce gives, on
// dense and sparse columns, with runs of equal x, points outside either edge,
// x0 == x1 and a last column that takes x1 itself.
TEST(ColumnReduction, SortedPointsGiveWhatReduceGives) {
  struct Case {
    const char* what;
    std::size_t count;
    int columns;
    double x0, x1;
    double step;      // x grows by up to this much from point to point
    int repeatEvery;  // every so many points the x before comes again (0: never)
  };
  const Case cases[] = {
      {"many points a column", 20000, 37, 100, 900, 0.1, 0},
      {"few points a column", 3000, 2000, 0, 1500, 1, 0},
      {"columns without a point", 200, 900, 0, 1000, 9, 0},
      {"equal x", 5000, 64, 10, 300, 0.2, 3},
      {"points before x0 and after x1", 4000, 50, 400, 600, 0.5, 0},
      {"x0 == x1", 500, 10, 40, 40, 0.2, 2},
      {"no point within", 100, 10, 5000, 6000, 1, 0},
      {"one column", 1000, 1, 0, 100, 0.3, 0},
      {"no point", 0, 10, 0, 1, 1, 0},
  };
  std::mt19937 random(5);
  for (const Case& c : cases) {
    std::vector<double> x(c.count), y(c.count);
    double at = 0;
    for (std::size_t i = 0; i < c.count; ++i) {
      if (!(c.repeatEvery && i % std::size_t(c.repeatEvery) == 0))
        at += std::uniform_real_distribution<>(0, c.step)(random);
      x[i] = at;
      y[i] = double(random() % 40);  // ties on purpose
    }
    if (c.count > 10) x[c.count / 2] = c.x1;  // the edge itself, where the x before it is no larger
    std::sort(x.begin(), x.end());
    const auto xs = [&](std::size_t i) { return x[i]; };
    const auto ys = [&](std::size_t i) { return y[i]; };
    const auto fields = [](const std::vector<ColumnExtremes>& columns) {
      std::vector<std::tuple<int, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>> all;
      for (const ColumnExtremes& e : columns) all.emplace_back(e.column, e.first, e.last, e.lowest, e.highest);
      return all;
    };
    const auto expected = ColumnReduction::reduce(c.count, xs, ys, c.x0, c.x1, c.columns);
    EXPECT_EQ(fields(ColumnReduction::reduceSorted(c.count, xs, ys, c.x0, c.x1, c.columns)), fields(expected))
        << c.what;
    if (c.count > 100 && c.x1 > c.x0 && c.x0 < at) {
      EXPECT_FALSE(expected.empty()) << c.what;
    }
  }
}

}  // namespace
