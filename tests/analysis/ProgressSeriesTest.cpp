#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "analysis/ProgressSeries.h"
#include "records/DayCount.h"
#include "support/QtPrinters.h"

using namespace Qt::StringLiterals;

namespace {

ProgressRun runOn(QDate date, int hits, int misses = 0, int second = 0) {
  return {std::int32_t(date.toJulianDay() - DayCount::JulianDayOfDayZero), second, hits, misses};
}

using Runs = std::vector<ProgressRun>;

std::vector<int> hitsOf(const Runs& runs) {
  std::vector<int> hits;
  for (const ProgressRun& r : runs) hits.push_back(r.hits);
  return hits;
}

// The whole file and a range starting mid-file, windows of one run up to more than there are runs.
TEST(ProgressSeries, TrailingMeansEqualADirectSumOverTheWindow) {
  std::mt19937 random(7);
  Runs runs;
  for (int i = 0; i < 400; ++i)
    runs.push_back(runOn(QDate(2024, 1, 1).addDays(i / 4), int(random() % 300), int(random() % 4) * (i % 3)));
  const ProgressRange mid{ProgressRangeKind::Dates, 0, QDate(2024, 2, 10), QDate(2024, 3, 20)};
  for (const auto& shown : {runs, ProgressSeries::select(runs, mid, {}).shown}) {
    for (std::size_t window : {1, 3, 10, 1000}) {
      const std::vector<ProgressPoint> points = ProgressSeries::points(shown, int(window));
      ASSERT_EQ(points.size(), shown.size());
      int best = 0;
      for (std::size_t i = 0; i < shown.size(); ++i) {
        double hits = 0, rates = 0;
        for (std::size_t j = i + 1 - std::min(i + 1, window); j <= i; ++j)
          hits += shown[j].hits, rates += shown[j].missRate();
        best = std::max(best, shown[i].hits);
        const double count = double(std::min(i + 1, window));
        ASSERT_DOUBLE_EQ(points[i].meanHits, hits / count) << "window " << window << " run " << i;
        ASSERT_NEAR(points[i].meanMissRate, rates / count, 1e-12) << "window " << window << " run " << i;
        ASSERT_EQ(points[i].bestSoFar, best);
      }
    }
  }
}

// Runs on the first and last day of a range and of the one before it, and the days outside; file order kept.
TEST(ProgressSeries, RangesEndTodayAndTheRangeBeforeHasTheSameLength) {
  const QDate today(2024, 3, 31);
  for (const auto& [kind, first, days] : {std::tuple(ProgressRangeKind::OneWeek, QDate(2024, 3, 25), 7),
                                          std::tuple(ProgressRangeKind::OneMonth, QDate(2024, 3, 1), 31),
                                          std::tuple(ProgressRangeKind::ThreeMonths, QDate(2024, 1, 1), 91),
                                          std::tuple(ProgressRangeKind::OneYear, QDate(2023, 4, 1), 366)}) {
    const QDate before = first.addDays(-days);
    const auto selection =
        ProgressSeries::select(Runs{runOn(first, 1), runOn(today.addDays(1), 2), runOn(before, 3), runOn(today, 4),
                                    runOn(first.addDays(-1), 5), runOn(before.addDays(-1), 6)},
                               {kind, 0, {}, {}}, today);
    EXPECT_EQ(hitsOf(selection.shown), (std::vector<int>{1, 4})) << int(kind);
    EXPECT_EQ(hitsOf(selection.before), (std::vector<int>{3, 5})) << int(kind);
  }
  // The newest runs by time, though the file is out of order.
  const auto last = ProgressSeries::select(
      Runs{runOn(today, 1, 0, 50), runOn(today, 2, 0, 10), runOn(today.addDays(-1), 3), runOn(today, 4, 0, 90)},
      {ProgressRangeKind::LastRuns, 2, {}, {}}, today);
  EXPECT_EQ(hitsOf(last.shown), (std::vector<int>{1, 4}));
  EXPECT_EQ(hitsOf(last.before), (std::vector<int>{2, 3}));
}

TEST(ProgressSeries, FiguresAndTheChangeAgainstTheRangeBefore) {
  const RangeFigures f = ProgressSeries::figures(
      Runs{runOn(QDate(2024, 5, 1), 90, 10), runOn(QDate(2024, 5, 1), 0, 0), runOn(QDate(2024, 5, 3), 300, 0)});
  EXPECT_EQ(std::tuple(f.runs, f.practiceDays, f.meanHits, f.bestHits), std::tuple(3, 2, 130.0, 300));
  EXPECT_DOUBLE_EQ(f.meanMissRate, 0.1 / 3);  // the runs' rates averaged, not 10 of 400 keys
  const auto change = [](double now, double before) {
    return ProgressSeries::changeText({1, 1, now, 0, 0}, {1, 1, before, 0, 0});
  };
  EXPECT_EQ(change(104.2, 100), u"前の期間より +4.2%"_s);
  EXPECT_EQ(change(99.2, 100), u"前の期間より -0.8%"_s);
  EXPECT_EQ(change(99.96, 100), u"前の期間より +0.0%"_s);
  EXPECT_EQ(change(250, 100), u"前の期間より +150.0%"_s);
  EXPECT_TRUE(ProgressSeries::changeText({1, 1, 100, 0, 0}, {}).isEmpty());
}

}  // namespace
