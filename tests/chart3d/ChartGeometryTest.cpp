#include <gtest/gtest.h>

#include "chart3d/ChartGeometry.h"
#include "chart3d/ChartModel.h"

#include <optional>
#include <ostream>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;
using namespace chart3d;

inline void PrintTo(const QPointF& p, std::ostream* out) { *out << '(' << p.x() << ',' << p.y() << ')'; }
inline void PrintTo(const QRectF& r, std::ostream* out) {
  *out << '(' << r.left() << ',' << r.top() << ")-(" << r.right() << ',' << r.bottom() << ')';
}

namespace {

constexpr double Near = 1e-9;

// 500 × 300 pixels; in 3D the depth is 20 % of half of 300: 30 pixels.
const QSizeF Plot(500, 300);

ChartGeometry flat(AxisRange bottom, AxisRange left) { return {Plot, bottom, left, false, 20}; }
ChartGeometry deep(AxisRange bottom, AxisRange left) { return {Plot, bottom, left, true, 20}; }

void expectRect(const QRectF& actual, double left, double top, double right, double bottom) {
  EXPECT_NEAR(actual.left(), left, Near);
  EXPECT_NEAR(actual.top(), top, Near);
  EXPECT_NEAR(actual.right(), right, Near);
  EXPECT_NEAR(actual.bottom(), bottom, Near);
}

TEST(ChartGeometryTest, BarFrontIsSixtyPercentOfItsSlotCentredOnThePosition) {
  struct Case {
    AxisRange bottom;
    bool view3D;
    int position;
    double left, right;
  };
  const std::vector<Case> cases = {
      {{0, 9}, false, 0, 10, 40},    // slot 50: centre 25, width 30
      {{0, 9}, false, 3, 160, 190},  // centre 175
      {{5, 14}, false, 5, 10, 40},   // scrolled: the first visible position takes the first slot
      {{0, 4}, false, 4, 420, 480},  // slot 100: centre 450, width 60
      {{0, 9}, true, 0, 9.4, 37.6},  // front plane 470 wide: slot 47, centre 23.5, width 28.2
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "range " << c.bottom.minimum << ".." << c.bottom.maximum << " 3D " << c.view3D
                                    << " position " << c.position);
    const ChartGeometry g(Plot, c.bottom, {0, 100}, c.view3D, 20);
    const QRectF front = g.bar(c.position, 0, 50, 60, 3).front;
    EXPECT_NEAR(front.left(), c.left, Near);
    EXPECT_NEAR(front.right(), c.right, Near);
  }
}

TEST(ChartGeometryTest, ValuesMapLinearlyFromThePlotBottomToTheFrontPlaneTop) {
  const ChartGeometry f = flat({0, 9}, {0, 300});
  expectRect(f.bar(0, 100, 150, 60, 3).front, 10, 150, 40, 200);
  const ChartGeometry d = deep({0, 9}, {0, 300});  // front plane 270 high below a 30 pixel strip
  EXPECT_NEAR(d.yOf(0), 300, Near);
  EXPECT_NEAR(d.yOf(300), 30, Near);
  EXPECT_NEAR(d.yOf(150), 165, Near);
}

TEST(ChartGeometryTest, TheSecondSeriesStartsAtTheFirstSeriesTop) {
  ChartModel model;
  const int hits = model.addSeries({u"HIT"_s, Blue, 60, true, BarStyle::RectangularBox, true, -19, {}});
  const int misses = model.addSeries({u"MISS"_s, Red, 60, true, BarStyle::RectangularBox, true, 3, {}});
  model.add(hits, 100, u"a"_s);
  model.add(misses, 50, QString());
  model.add(hits, 200, u"b"_s);
  model.add(misses, 100, QString());                                                       // left axis 0..300
  const std::vector<BarGeometry> bars = ChartGeometry::forModel(model, Plot).bars(model);  // 3D by default

  ASSERT_EQ(bars.size(), 4u);
  EXPECT_EQ(bars[0].series, hits);
  EXPECT_EQ(bars[1].series, misses);
  EXPECT_EQ(bars[1].position, 0);
  EXPECT_EQ(bars[2].position, 1);
  EXPECT_NEAR(bars[0].front.bottom(), 300, Near);
  EXPECT_NEAR(bars[0].front.top(), 210, Near);  // 100 of 300 on 270 pixels
  EXPECT_NEAR(bars[1].front.bottom(), bars[0].front.top(), Near);
  EXPECT_NEAR(bars[3].front.bottom(), bars[2].front.top(), Near);
  EXPECT_NEAR(bars[3].front.top(), 30, Near);  // the largest total reaches the top
}

TEST(ChartGeometryTest, MarkAnchorSitsTheMarkOffsetAboveTheBarTop) {
  const ChartGeometry g = flat({0, 9}, {0, 300});
  const BarGeometry above = g.bar(2, 0, 100, 60, 3);
  const BarGeometry inside = g.bar(2, 0, 100, 60, -19);
  EXPECT_EQ(above.markAnchor, QPointF(125, 197));
  EXPECT_EQ(inside.markAnchor, QPointF(125, 219));
}

TEST(ChartGeometryTest, FacesRecedeByTheDepthIn3DAndAreAbsentIn2D) {
  const BarGeometry flatBar = flat({0, 9}, {0, 300}).bar(1, 0, 150, 60, 3);
  EXPECT_EQ(flat({0, 9}, {0, 300}).depth(), 0);
  EXPECT_TRUE(flatBar.topFace.empty());
  EXPECT_TRUE(flatBar.sideFace.empty());

  const ChartGeometry g = deep({0, 9}, {0, 300});
  ASSERT_EQ(g.depth(), 30);
  const BarGeometry bar = g.bar(1, 0, 150, 60, 3);
  const QRectF& f = bar.front;
  const QPointF back(30, -30);
  EXPECT_EQ(bar.topFace, (std::vector<QPointF>{f.topLeft(), f.topRight(), f.topRight() + back, f.topLeft() + back}));
  EXPECT_EQ(bar.sideFace,
            (std::vector<QPointF>{f.topRight(), f.bottomRight(), f.bottomRight() + back, f.topRight() + back}));
}

TEST(ChartGeometryTest, WallsJoinTheFrontPlaneToTheBackWall) {
  const ChartGeometry g = deep({0, 9}, {0, 300});  // front plane (0,30)-(470,300)
  expectRect(g.backWall(), 30, 0, 500, 270);
  EXPECT_EQ(g.leftWall(), (std::vector<QPointF>{{0, 300}, {0, 30}, {30, 0}, {30, 270}}));
  EXPECT_EQ(g.bottomWall(), (std::vector<QPointF>{{0, 300}, {470, 300}, {500, 270}, {30, 270}}));
  EXPECT_EQ(g.outline(), (std::vector<QPointF>{{0, 30}, {30, 0}, {500, 0}, {500, 270}, {470, 300}, {0, 300}}));

  const ChartGeometry f = flat({0, 9}, {0, 300});
  expectRect(f.backWall(), 0, 0, 500, 300);
  EXPECT_TRUE(f.leftWall().empty());
  EXPECT_TRUE(f.bottomWall().empty());
  EXPECT_EQ(f.outline(), (std::vector<QPointF>{{0, 0}, {0, 0}, {500, 0}, {500, 300}, {500, 300}, {0, 300}}));
}

TEST(ChartGeometryTest, BarsCoverTheVisibleRangeOnlyAndSkipMissingPoints) {
  ChartModel model;
  const int hits = model.addSeries({u"HIT"_s, Blue, 60, true, BarStyle::RectangularBox, true, -19, {}});
  const int misses = model.addSeries({u"MISS"_s, Red, 60, true, BarStyle::RectangularBox, true, 3, {}});
  for (int i = 0; i < 25; ++i) model.add(hits, 10, QString());
  for (int i = 0; i < 24; ++i) model.add(misses, 1, QString());  // none at position 24

  struct Case {
    AxisRange bottom;
    int firstPosition, lastPosition;
    std::size_t count;
  };
  const std::vector<Case> cases = {
      {{0, 9}, 0, 9, 20},    {{15, 24}, 15, 24, 19}, {{20, 29}, 20, 24, 9},  // past the last point
      {{-3, 1}, 0, 1, 4},                                                    // before the first
      {{1.3, 3.7}, 1, 4, 8},                                                 // a zoom: partly shown slots count
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bottom.minimum << ".." << c.bottom.maximum);
    model.setBottomAxisRange(c.bottom);
    const std::vector<BarGeometry> bars = ChartGeometry::forModel(model, Plot).bars(model);
    ASSERT_EQ(bars.size(), c.count);
    EXPECT_EQ(bars.front().position, c.firstPosition);
    EXPECT_EQ(bars.back().position, c.lastPosition);
  }
}

TEST(ChartGeometryTest, AZoomCutsBarsAtTheWallsTheFloorAndTheCeiling) {
  ChartModel model;
  const int hits = model.addSeries({u"HIT"_s, Blue, 60, true, BarStyle::RectangularBox, true, -19, {}});
  const int misses = model.addSeries({u"MISS"_s, Red, 60, true, BarStyle::RectangularBox, true, 3, {}});
  const std::vector<std::pair<double, double>> points = {{150, 10}, {150, 30}, {80, 40},
                                                         {250, 10}, {120, 5},  {150, 10}};
  for (const auto& [hit, miss] : points) {
    model.add(hits, hit, QString());
    model.add(misses, miss, QString());
  }
  // Positions 0.8 .. 4.2 on the 470-pixel front plane (0,30)-(470,300), values 100 .. 200.
  const ChartGeometry g = deep({1.3, 3.7}, {100, 200});
  const double slot = 470 / 3.4;
  const auto x = [slot](double position) { return (position - 0.8) * slot; };
  const auto y = [&g](double value) { return g.yOf(value); };

  struct Expected {
    int series, position;
    double left, top, right, bottom;
    bool topShown;
  };
  const std::vector<Expected> expected = {
      // Position 0 lies beside the visible slots; position 1 is cut at the left wall and the floor.
      {hits, 1, 0, y(150), x(1.3), 300, true},
      {misses, 1, 0, y(180), x(1.3), y(150), true},
      // Position 2's hits lie below the floor; its misses stand on it.
      {misses, 2, x(1.7), y(120), x(2.3), 300, true},
      // Position 3's hits are cut at the floor and the ceiling (no mark), its misses lie above.
      {hits, 3, x(2.7), 30, x(3.3), 300, false},
      // Position 4 is cut at the right edge; position 5 lies beside.
      {hits, 4, x(3.7), y(120), 470, 300, true},
      {misses, 4, x(3.7), y(125), 470, y(120), true},
  };
  const std::vector<BarGeometry> bars = g.bars(model);
  ASSERT_EQ(bars.size(), expected.size());
  for (std::size_t i = 0; i < bars.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "bar " << i);
    EXPECT_EQ(bars[i].series, expected[i].series);
    EXPECT_EQ(bars[i].position, expected[i].position);
    expectRect(bars[i].front, expected[i].left, expected[i].top, expected[i].right, expected[i].bottom);
    EXPECT_EQ(bars[i].topShown, expected[i].topShown);
    EXPECT_EQ(bars[i].sideFace.front(), bars[i].front.topRight());  // the faces recede from the cut front
  }
  // The mark anchor stays on the bar's own top, cut or not.
  EXPECT_NEAR(bars[3].markAnchor.y(), y(250) + 19, Near);
}

TEST(ChartGeometryTest, MarksAreMovedIntoTheAreaAndLeftOutWhereTheyWouldOverlap) {
  const QRectF area(0, -20, 500, 320);
  const QSizeF mark(40, 16);
  struct Case {
    const char* what;
    std::vector<MarkRequest> marks;
    std::vector<std::optional<QRectF>> placed;
  };
  const std::vector<Case> cases = {
      {"inside: centred on the anchor, resting on it", {{{100, 100}, mark}}, {QRectF(80, 84, 40, 16)}},
      {"over the left edge", {{{10, 100}, mark}}, {QRectF(0, 84, 40, 16)}},
      {"over the right edge", {{{495, 100}, mark}}, {QRectF(460, 84, 40, 16)}},
      {"over the top", {{{100, -12}, mark}}, {QRectF(80, -20, 40, 16)}},
      {"below the bottom, in a corner", {{{-30, 330}, mark}}, {QRectF(0, 284, 40, 16)}},
      {"larger than the area", {{{250, 100}, QSizeF(600, 400)}}, {QRectF(0, -20, 600, 400)}},
      {"overlapping ones after the first are left out, touching ones stay",
       {{{100, 100}, mark}, {{130, 100}, mark}, {{140, 100}, mark}, {{100, 120}, mark}, {{100, 90}, mark}},
       {QRectF(80, 84, 40, 16), std::nullopt, QRectF(120, 84, 40, 16), QRectF(80, 104, 40, 16), std::nullopt}},
      {"moved into the area onto an earlier one",
       {{{20, 100}, mark}, {{5, 100}, mark}},
       {QRectF(0, 84, 40, 16), std::nullopt}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<std::optional<QRectF>> placed = ChartGeometry::placeMarks(c.marks, area);
    ASSERT_EQ(placed.size(), c.placed.size());
    for (std::size_t i = 0; i < placed.size(); ++i) {
      SCOPED_TRACE(testing::Message() << "mark " << i);
      ASSERT_EQ(placed[i].has_value(), c.placed[i].has_value());
      if (!placed[i]) continue;
      const QRectF& want = *c.placed[i];
      expectRect(*placed[i], want.left(), want.top(), want.right(), want.bottom());
    }
  }
}

TEST(ChartGeometryTest, BottomLabelsOnePerIntegerPositionAtTheSlotCentres) {
  const std::vector<BottomAxisLabel> labels = flat({0, 9}, {0, 100}).bottomLabels();
  ASSERT_EQ(labels.size(), 10u);
  EXPECT_EQ(labels[0].position, 0);
  EXPECT_NEAR(labels[0].x, 25, Near);
  EXPECT_EQ(labels[9].position, 9);
  EXPECT_NEAR(labels[9].x, 475, Near);

  const std::vector<BottomAxisLabel> zoomed = flat({1.3, 3.7}, {0, 100}).bottomLabels();  // shows 0.8 .. 4.2
  ASSERT_EQ(zoomed.size(), 4u);
  EXPECT_EQ(zoomed.front().position, 1);
  EXPECT_EQ(zoomed.back().position, 4);
}

TEST(ChartGeometryTest, LeftLabelsEveryIncrementWithinTheRange) {
  struct Case {
    AxisRange left;
    std::vector<double> values;
  };
  const std::vector<Case> cases = {
      {{0, 230}, {0, 50, 100, 150, 200}},
      {{0, 250}, {0, 50, 100, 150, 200, 250}},
      {{0, 0}, {0}},
      {{20, 130}, {50, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.left.minimum << ".." << c.left.maximum);
    const ChartGeometry g = deep({0, 9}, c.left);
    const std::vector<LeftAxisLabel> labels = g.leftLabels(ChartModel::LeftAxisIncrement);
    ASSERT_EQ(labels.size(), c.values.size());
    for (std::size_t i = 0; i < labels.size(); ++i) {
      EXPECT_EQ(labels[i].value, c.values[i]);
      EXPECT_NEAR(labels[i].y, g.yOf(c.values[i]), Near);
    }
  }
  EXPECT_NEAR(deep({0, 9}, {0, 250}).leftLabels(50).back().y, 30, Near);
}

TEST(ChartGeometryTest, PixelsAndAxisUnitsMapBackAndForth) {
  const std::vector<ChartGeometry> geometries = {flat({0, 9}, {0, 300}), deep({0, 9}, {0, 300}),
                                                 deep({2.5, 6.25}, {40, 75}), flat({-13, -4}, {0, 0})};
  const std::vector<QPointF> pixels = {{0, 300}, {123.5, 17}, {470, 30}, {499, 0}, {250, 150}};
  for (std::size_t i = 0; i < geometries.size(); ++i) {
    const ChartGeometry& g = geometries[i];
    for (const QPointF& p : pixels) {
      SCOPED_TRACE(testing::Message() << "geometry " << i << " pixel " << p.x() << ',' << p.y());
      EXPECT_NEAR(g.xOf(g.positionAt(p.x())), p.x(), Near);
      EXPECT_NEAR(g.yOf(g.valueAt(p.y())), p.y(), Near);
    }
    for (double position : {-1.0, 0.0, 3.0, 7.5}) EXPECT_NEAR(g.positionAt(g.xOf(position)), position, Near);
  }
}

TEST(ChartGeometryTest, ZoomTargetShowsTheDraggedRectangleOnTheWholeFrontPlane) {
  for (bool view3D : {false, true}) {
    SCOPED_TRACE(testing::Message() << "3D " << view3D);
    const ChartGeometry before(Plot, {0, 9}, {0, 300}, view3D, 20);
    const QRectF dragged(QPointF(130, 60), QPointF(260, 240));
    const AxisRect target = before.zoomTargetFor(dragged);
    EXPECT_EQ(target, before.zoomTargetFor(QRectF(dragged.bottomRight(), dragged.topLeft())));  // dragged backwards

    const ChartGeometry after(Plot, target.bottom, target.left, view3D, 20);
    const QRectF plane = after.frontPlane();
    EXPECT_NEAR(after.xOf(before.positionAt(dragged.left())), plane.left(), Near);
    EXPECT_NEAR(after.xOf(before.positionAt(dragged.right())), plane.right(), Near);
    EXPECT_NEAR(after.yOf(before.valueAt(dragged.top())), plane.top(), Near);
    EXPECT_NEAR(after.yOf(before.valueAt(dragged.bottom())), plane.bottom(), Near);
  }
  const AxisRect flatTarget = flat({0, 9}, {0, 300}).zoomTargetFor(QRectF(QPointF(100, 0), QPointF(300, 150)));
  // x 100 and 300 are the slot edges 1.5 and 5.5: positions 2 to 5 fill the plot.
  EXPECT_NEAR(flatTarget.bottom.minimum, 2, Near);
  EXPECT_NEAR(flatTarget.bottom.maximum, 5, Near);
  EXPECT_NEAR(flatTarget.left.minimum, 150, Near);
  EXPECT_NEAR(flatTarget.left.maximum, 300, Near);
}

}  // namespace
