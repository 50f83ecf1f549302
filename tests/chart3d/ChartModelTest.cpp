#include <gtest/gtest.h>

#include "support/QtPrinters.h"

#include "chart3d/ChartModel.h"

#include <stdexcept>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;
using namespace chart3d;

namespace chart3d {
inline void PrintTo(const AxisRange& r, std::ostream* out) { *out << '[' << r.minimum << ", " << r.maximum << ']'; }
}  // namespace chart3d

namespace {

// The 3D chart window's two series: hits below, misses stacked on them.
struct HitMissChart {
  ChartModel model;
  int hits = model.addSeries({u"HIT"_s, Blue, 60, true, BarStyle::RectangularBox, true, -19, {}});
  int misses = model.addSeries({u"MISS"_s, Red, 60, true, BarStyle::RectangularBox, true, 3, {}});

  void addPoints(int count) {
    for (int i = 0; i < count; ++i) addPoint(100 + i, i % 7, u"p%1"_s.arg(i));
  }
  void addPoint(double hit, double miss, const QString& label) {
    model.add(hits, hit, label);
    model.add(misses, miss, QString());
  }
};

// Counts how often a handler ran.
struct Counter {
  int calls = 0;
  ChartModel::Handler handler() {
    return [this] { ++calls; };
  }
};

struct PagingCase {
  int points;
  int perPage;
  int pages;
};

TEST(ChartModelTest, PageCountRoundsARemainderUpAndIsAtLeastOne) {
  const std::vector<PagingCase> cases = {
      {10, 10, 1}, {11, 10, 2}, {20, 10, 2}, {21, 10, 3}, {0, 10, 1}, {25, 0, 1}, {0, 0, 1}, {3, 1, 3}, {1, 1000, 1},
  };
  for (const PagingCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.points << " points, " << c.perPage << " per page");
    HitMissChart chart;
    chart.addPoints(c.points);
    chart.model.setMaxPointsPerPage(c.perPage);
    EXPECT_EQ(chart.model.pageCount(), c.pages);
  }
}

TEST(ChartModelTest, NegativePointsPerPageIsRejectedWithItsMessageAndChangesNothing) {
  ChartModel model;
  model.setMaxPointsPerPage(7);
  try {
    model.setMaxPointsPerPage(-1);
    FAIL() << "no exception";
  } catch (const std::invalid_argument& error) {
    EXPECT_EQ(std::string(error.what()), "MaxPointsPerPage は 0 以上でなければなりません");
  }
  EXPECT_EQ(model.maxPointsPerPage(), 7);
  EXPECT_NO_THROW(model.setMaxPointsPerPage(0));
  EXPECT_EQ(model.maxPointsPerPage(), 0);
}

TEST(ChartModelTest, PageNumberIsClampedAndOnlyAChangeRaisesThePageChange) {
  HitMissChart chart;
  chart.addPoints(25);
  Counter changes;
  chart.model.setPageChangeHandler(changes.handler());
  chart.model.setMaxPointsPerPage(10);  // 3 pages; page 1 stays page 1
  EXPECT_EQ(changes.calls, 0);

  struct Step {
    void (*move)(ChartModel&);
    int page;
    int calls;
  };
  const std::vector<Step> steps = {
      {[](ChartModel& m) { m.previousPage(); }, 1, 0},  // at the first page
      {[](ChartModel& m) { m.nextPage(); }, 2, 1},
      {[](ChartModel& m) { m.setPage(9); }, 3, 2},  // clamped to the last page
      {[](ChartModel& m) { m.nextPage(); }, 3, 2},  // at the last page
      {[](ChartModel& m) { m.setPage(3); }, 3, 2},  // same page
      {[](ChartModel& m) { m.setPage(-4); }, 1, 3},
      {[](ChartModel& m) { m.setPage(0); }, 1, 3},
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "step " << i);
    steps[i].move(chart.model);
    EXPECT_EQ(chart.model.page(), steps[i].page);
    EXPECT_EQ(changes.calls, steps[i].calls);
  }
}

TEST(ChartModelTest, FewerPagesPullThePageNumberBackAndRaiseThePageChange) {
  HitMissChart chart;
  chart.addPoints(25);
  chart.model.setMaxPointsPerPage(10);
  chart.model.setPage(3);
  Counter changes;
  chart.model.setPageChangeHandler(changes.handler());

  chart.model.setMaxPointsPerPage(20);  // 2 pages
  EXPECT_EQ(chart.model.page(), 2);
  EXPECT_EQ(changes.calls, 1);

  chart.model.clear(chart.hits);  // the miss series still has 25 points
  EXPECT_EQ(chart.model.page(), 2);
  chart.model.clear(chart.misses);
  EXPECT_EQ(chart.model.page(), 1);
  EXPECT_EQ(changes.calls, 2);
}

TEST(ChartModelTest, PointsArePlacedInTheOrderAddedAndClearStartsAgainAtZero) {
  HitMissChart chart;
  chart.addPoint(10, 1, u"a"_s);
  chart.addPoint(20, 2, u"b"_s);
  chart.model.clear(chart.hits);
  chart.model.clear(chart.misses);
  chart.addPoint(30, 3, u"c"_s);
  ASSERT_EQ(chart.model.pointCount(), 1);
  EXPECT_EQ(chart.model.series(chart.hits).points[0].value, 30);
  EXPECT_EQ(chart.model.bottomAxisLabel(0), u"c"_s);
}

TEST(ChartModelTest, BottomLabelsComeFromTheFirstSeriesOnly) {
  HitMissChart chart;
  chart.model.add(chart.misses, 5, u"miss label"_s);
  EXPECT_EQ(chart.model.bottomAxisLabel(0), QString());
  chart.addPoint(10, 1, u"2024/01/02"_s);
  EXPECT_EQ(chart.model.bottomAxisLabel(0), u"2024/01/02"_s);
  EXPECT_EQ(chart.model.bottomAxisLabel(1), QString());
  EXPECT_EQ(chart.model.bottomAxisLabel(-1), QString());
}

TEST(ChartModelTest, AutomaticBottomRangeFollowsThePageButAManualRangeDoesNot) {
  HitMissChart chart;
  chart.addPoints(25);
  EXPECT_EQ(chart.model.bottomAxisRange(), (AxisRange{0, 24}));
  chart.model.setMaxPointsPerPage(10);
  chart.model.setPage(3);
  EXPECT_EQ(chart.model.bottomAxisRange(), (AxisRange{20, 29}));

  chart.model.setBottomAxisMaximum(9);  // the window sets only the maximum: the minimum stays
  EXPECT_EQ(chart.model.bottomAxisRange(), (AxisRange{20, 9}));
  chart.model.setBottomAxisMinimum(0);
  chart.model.setPage(1);
  chart.model.setPage(2);
  EXPECT_TRUE(chart.model.bottomAxisIsManual());
  EXPECT_EQ(chart.model.bottomAxisRange(), (AxisRange{0, 9}));
}

TEST(ChartModelTest, ScrollMovesBothEndsRelativelyWithoutLimits) {
  HitMissChart chart;
  chart.addPoints(12);
  chart.model.setBottomAxisRange({0, 9});
  chart.model.scrollBottomAxis(2);
  EXPECT_EQ(chart.model.bottomAxisRange(), (AxisRange{2, 11}));
  chart.model.scrollBottomAxis(5);  // beyond the last point
  EXPECT_EQ(chart.model.bottomAxisRange(), (AxisRange{7, 16}));
  chart.model.scrollBottomAxis(-20);  // before the first
  EXPECT_EQ(chart.model.bottomAxisRange(), (AxisRange{-13, -4}));
}

TEST(ChartModelTest, LeftAxisMaximumIsTheLargestStackedTotalOfAllPoints) {
  HitMissChart chart;
  EXPECT_EQ(chart.model.leftAxisRange(), (AxisRange{0, 0}));
  chart.addPoint(100, 5, u"a"_s);          // 105
  chart.addPoint(10, 120, u"b"_s);         // 130: not 100 + 120
  chart.addPoint(50, 50, u"c"_s);          // 100
  chart.model.setBottomAxisRange({2, 2});  // only the last point visible
  EXPECT_EQ(chart.model.leftAxisRange(), (AxisRange{0, 130}));
  chart.model.add(chart.hits, 400, u"d"_s);  // a hit without a miss
  EXPECT_EQ(chart.model.leftAxisRange(), (AxisRange{0, 400}));
}

TEST(ChartModelTest, AStackedSeriesStartsAtTheEarlierStackedSeriesTop) {
  HitMissChart chart;
  chart.addPoint(80, 7, u"a"_s);
  EXPECT_EQ(chart.model.stackedBase(chart.hits, 0), 0);
  EXPECT_EQ(chart.model.stackedTop(chart.hits, 0), 80);
  EXPECT_EQ(chart.model.stackedBase(chart.misses, 0), 80);
  EXPECT_EQ(chart.model.stackedTop(chart.misses, 0), 87);

  BarSeries apart{u"apart"_s, Red, 60, false, BarStyle::Cylinder, true, 3, {}};
  const int unstacked = chart.model.addSeries(apart);
  chart.model.add(unstacked, 30, QString());
  EXPECT_EQ(chart.model.stackedBase(unstacked, 0), 0);
  EXPECT_EQ(chart.model.stackedTop(unstacked, 0), 30);
  const int onTop = chart.model.addSeries({u"on top"_s, Blue, 60, true, BarStyle::Pyramid, true, 3, {}});
  chart.model.add(onTop, 2, QString());
  EXPECT_EQ(chart.model.stackedBase(onTop, 0), 87);  // the unstacked series is not below it
}

TEST(ChartModelTest, ZoomPlaysTwelveStepsEndingAtTheTargetAndRaisesTheZoom) {
  HitMissChart chart;
  chart.addPoint(100, 20, u"a"_s);  // left 0..120
  chart.model.setBottomAxisRange({0, 11});
  Counter zooms;
  chart.model.setZoomHandler(zooms.handler());

  const AxisRect target{{3, 5}, {24, 60}};
  const std::vector<AxisRect> steps = chart.model.zoom(target);
  ASSERT_EQ(steps.size(), 12u);
  EXPECT_EQ(steps.back(), target);
  EXPECT_DOUBLE_EQ(steps[0].bottom.minimum, 0.25);  // 1/12 of the way from 0 to 3
  EXPECT_DOUBLE_EQ(steps[0].left.maximum, 115);     // 1/12 of the way from 120 to 60
  EXPECT_DOUBLE_EQ(steps[5].bottom.maximum, 8);     // half way from 11 to 5
  for (std::size_t i = 1; i < steps.size(); ++i) EXPECT_LT(steps[i].bottom.maximum, steps[i - 1].bottom.maximum);
  EXPECT_EQ(chart.model.bottomAxisRange(), target.bottom);
  EXPECT_EQ(chart.model.leftAxisRange(), target.left);
  EXPECT_TRUE(chart.model.isZoomed());
  EXPECT_EQ(zooms.calls, 1);
}

TEST(ChartModelTest, UndoZoomRestoresTheRangesBeforeTheFirstZoomOnce) {
  HitMissChart chart;
  chart.addPoint(100, 20, u"a"_s);
  chart.model.setBottomAxisRange({0, 9});
  chart.model.zoom({{2, 4}, {10, 50}});
  chart.model.zoom({{3, 3}, {20, 30}});  // zoomed further: the saved ranges stay those before the first
  chart.model.undoZoom();
  EXPECT_FALSE(chart.model.isZoomed());
  EXPECT_EQ(chart.model.bottomAxisRange(), (AxisRange{0, 9}));
  EXPECT_EQ(chart.model.leftAxisRange(), (AxisRange{0, 120}));

  chart.model.scrollBottomAxis(4);
  chart.model.undoZoom();  // already restored: the scroll stays
  EXPECT_EQ(chart.model.bottomAxisRange(), (AxisRange{4, 13}));
}

TEST(ChartModelTest, UndoZoomLeavesTheAxesAutomaticWhenTheyWereBeforeTheZoom) {
  HitMissChart chart;
  chart.addPoints(3);
  chart.model.zoom({{0, 1}, {0, 10}});
  chart.model.undoZoom();
  EXPECT_FALSE(chart.model.bottomAxisIsManual());
  chart.addPoint(500, 0, u"big"_s);
  EXPECT_EQ(chart.model.leftAxisRange(), (AxisRange{0, 500}));
  EXPECT_EQ(chart.model.bottomAxisRange(), (AxisRange{0, 3}));
}

TEST(ChartModelTest, EveryUndoZoomRequestRaisesTheUndoZoomZoomedOrNot) {
  HitMissChart chart;
  chart.addPoints(5);
  Counter undos;
  chart.model.setUndoZoomHandler(undos.handler());
  chart.model.undoZoom();  // never zoomed
  EXPECT_EQ(undos.calls, 1);
  chart.model.zoom({{1, 2}, {0, 50}});
  EXPECT_EQ(undos.calls, 1);
  chart.model.undoZoom();
  chart.model.undoZoom();  // already undone
  EXPECT_EQ(undos.calls, 3);
}

TEST(ChartModelTest, ReplacingTheFirstTitleLineKeepsTheOthers) {
  ChartModel model;
  model.appearance().titleLines = QStringList{u"ＴＡＰＰＥＲ新記録の足跡"_s, u"second"_s};
  model.setTitleLine(0, u"ローマ字"_s);
  EXPECT_EQ(model.appearance().titleLines, (QStringList{u"ローマ字"_s, u"second"_s}));
  ChartModel untitled;
  untitled.setTitleLine(1, u"x"_s);
  EXPECT_EQ(untitled.appearance().titleLines, (QStringList{QString(), u"x"_s}));
}

}  // namespace
