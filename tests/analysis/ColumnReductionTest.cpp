#include <gtest/gtest.h>

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

}  // namespace
