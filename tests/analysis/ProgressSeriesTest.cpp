#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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

std::vector<int> hitsOf(const std::vector<ProgressPoint>& points) {
  std::vector<int> hits;
  for (const ProgressPoint& p : points) hits.push_back(p.run.hits);
  return hits;
}

// The whole file and a range starting mid-file, windows of one run up to more than there are runs.
TEST(ProgressSeries, TrailingMeansEqualADirectSumOverTheWindow) {
  std::mt19937 random(7);
  Runs runs;
  for (int i = 0; i < 400; ++i)
    runs.push_back(runOn(QDate(2024, 1, 1).addDays(i / 4), int(random() % 300), int(random() % 4) * (i % 3)));
  const ProgressRange mid{ProgressRangeKind::Dates, 0, QDate(2024, 2, 10), QDate(2024, 3, 20)};
  Runs middle;
  for (const ProgressPoint& p : ProgressSeries::select(runs, mid, {}, 1).shown) middle.push_back(p.run);
  for (const auto& shown : {runs, middle}) {
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

// The window kept in a ring gives the very bits the second cursor gives: the
// same sums in the same order, the fresh sum of the miss rates included
// (windows of one run, of a few, of all the runs and of more; runs without a
// keystroke among them).
TEST(ProgressSeries, TheRingOfTheWindowSumsAsTheSecondCursorDoes) {
  std::mt19937 random(5);
  Runs runs;
  for (int i = 0; i < 3000; ++i) {
    const int hits = i % 97 == 0 ? 0 : int(random() % 400);
    runs.push_back(runOn(QDate(2020, 1, 1).addDays(i / 5), hits, hits == 0 ? 0 : int(random() % 30)));
  }
  for (const int window : {1, 2, 3, 7, 64, 2999, 3000, 4500}) {
    ProgressSeries::PointWalk ring(runs, window);
    ProgressSeries::PointWalk cursor(runs, window, 0);
    ProgressPoint a, b;
    for (std::size_t i = 0; i < runs.size(); ++i) {
      ASSERT_TRUE(ring.next(a));
      ASSERT_TRUE(cursor.next(b));
      ASSERT_EQ(a.meanHits, b.meanHits) << "window " << window << " run " << i;
      ASSERT_EQ(a.meanMissRate, b.meanMissRate) << "window " << window << " run " << i;
      ASSERT_EQ(a.bestSoFar, b.bestSoFar);
      ASSERT_EQ(a.run.hits, runs[i].hits);
    }
    EXPECT_FALSE(ring.next(a));
    EXPECT_FALSE(cursor.next(b));
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
                               {kind, 0, {}, {}}, today, 10);
    EXPECT_EQ(hitsOf(selection.shown), (std::vector<int>{1, 4})) << int(kind);
    EXPECT_EQ(hitsOf(selection.before), (std::vector<int>{3, 5})) << int(kind);
  }
  // The newest runs by time, though the file is out of order.
  const auto last = ProgressSeries::select(
      Runs{runOn(today, 1, 0, 50), runOn(today, 2, 0, 10), runOn(today.addDays(-1), 3), runOn(today, 4, 0, 90)},
      {ProgressRangeKind::LastRuns, 2, {}, {}}, today, 10);
  EXPECT_EQ(hitsOf(last.shown), (std::vector<int>{1, 4}));
  EXPECT_EQ(hitsOf(last.before), (std::vector<int>{2, 3}));
}

std::int32_t dayOf(QDate date) { return std::int32_t(date.toJulianDay() - DayCount::JulianDayOfDayZero); }

// A range only chooses what is shown: each shown run keeps the means and the
// best so far it has in the whole series, in every kind of range and window.
TEST(ProgressSeries, ARangeShowsTheMeansAndTheBestOfTheWholeSeries) {
  const QDate today(2024, 3, 31);
  Runs runs;
  std::mt19937 random(11);
  for (int i = 0; i < 120; ++i)  // four runs a day over 30 days; the best, 470, on the second day
    runs.push_back(runOn(today.addDays(i / 4 - 29), i == 5 ? 470 : 300 + int(random() % 120), int(random() % 9), i));
  const auto byRun = [](const std::vector<ProgressPoint>& points) {
    std::map<int, ProgressPoint> found;  // the run's second is its index
    for (const ProgressPoint& p : points) found[p.run.second] = p;
    return found;
  };
  for (int window : {1, 5, 25, 1000}) {
    const auto whole = byRun(ProgressSeries::select(runs, {}, today, window).shown);
    ASSERT_EQ(whole.size(), runs.size());
    for (const ProgressRange& range :
         {ProgressRange{ProgressRangeKind::OneWeek, 0, {}, {}}, ProgressRange{ProgressRangeKind::LastRuns, 7, {}, {}},
          ProgressRange{ProgressRangeKind::Dates, 0, QDate(2024, 3, 20), QDate(2024, 3, 10)}}) {
      const auto shown = ProgressSeries::select(runs, range, today, window).shown;
      ASSERT_FALSE(shown.empty());
      EXPECT_EQ(shown.front().bestSoFar, 470) << int(range.kind) << " window " << window;
      for (const ProgressPoint& p : shown) {
        const ProgressPoint& all = whole.at(p.run.second);
        EXPECT_EQ(std::tuple(p.meanHits, p.meanMissRate, p.bestSoFar),
                  std::tuple(all.meanHits, all.meanMissRate, all.bestSoFar))
            << int(range.kind) << " window " << window << " run " << p.run.second;
      }
    }
  }
}

// The range before is compared with only when it lies wholly inside the era;
// without a first day the era starts with the first run.
TEST(ProgressSeries, TheRangeBeforeCountsOnlyWhollyInsideTheEra) {
  const QDate today(2024, 3, 31);  // a week from 03-25; the week before from 03-18 to 03-24
  const ProgressRange week{ProgressRangeKind::OneWeek, 0, {}, {}};
  const ProgressRange days{ProgressRangeKind::Dates, 0, QDate(2024, 3, 10), QDate(2024, 3, 11)};
  struct Case {
    const char* what;
    ProgressRange range;
    QDate firstRun;
    EraDays era;
    std::vector<int> before;
  };
  const std::vector<Case> cases = {
      {"the era starts a day into the week before", week, QDate(2024, 3, 1), {dayOf(QDate(2024, 3, 19))}, {}},
      {"the era starts with the week before", week, QDate(2024, 3, 1), {dayOf(QDate(2024, 3, 18))}, {2, 3}},
      {"no era, the file starts inside the week before", week, QDate(2024, 3, 19), {}, {}},
      {"no era, the file starts with the week before", week, QDate(2024, 3, 18), {}, {2, 3}},
      {"the era ends before the week before does", week, QDate(2024, 3, 1), {.last = dayOf(QDate(2024, 3, 23))}, {}},
      {"the era ends with the week before", week, QDate(2024, 3, 1), {.last = dayOf(QDate(2024, 3, 24))}, {2, 3}},
      {"two days, the era from the day before them", days, QDate(2024, 3, 1), {dayOf(QDate(2024, 3, 9))}, {}},
      {"two days, the era from two days before them", days, QDate(2024, 3, 1), {dayOf(QDate(2024, 3, 8))}, {4}},
  };
  for (const Case& c : cases) {
    const Runs runs{runOn(c.firstRun, 1),         runOn(QDate(2024, 3, 8), 4),  runOn(QDate(2024, 3, 10), 5),
                    runOn(QDate(2024, 3, 18), 2), runOn(QDate(2024, 3, 24), 3), runOn(QDate(2024, 3, 25), 6)};
    Runs inEra;  // the runs given are those of the era
    for (const ProgressRun& r : runs)
      if (c.era.contains(r.date) && r.date >= dayOf(c.firstRun)) inEra.push_back(r);
    std::vector<int> before = hitsOf(ProgressSeries::select(inEra, c.range, today, 10, c.era).before);
    std::erase(before, 1);  // the first run only marks where the file starts
    EXPECT_EQ(before, c.before) << c.what;
  }
  // The newest N runs are compared with the N before them only when there are N.
  const ProgressRange three{ProgressRangeKind::LastRuns, 3, {}, {}};
  Runs runs;
  for (int i = 1; i <= 5; ++i) runs.push_back(runOn(today.addDays(i - 5), i));
  EXPECT_TRUE(ProgressSeries::select(runs, three, today, 10).before.empty());
  runs.insert(runs.begin(), runOn(today.addDays(-5), 0));
  EXPECT_EQ(hitsOf(ProgressSeries::select(runs, three, today, 10).before), (std::vector<int>{0, 1, 2}));
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
