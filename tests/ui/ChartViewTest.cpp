// The chart component's painter and widget, offscreen: pixels are read where
// ChartGeometry says the bars, faces and marks are.
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <optional>
#include <vector>

#include "chart3d/Chart3DView.h"
#include "chart3d/ChartGeometry.h"
#include "chart3d/ChartRenderer.h"

using namespace Qt::StringLiterals;
using namespace chart3d;

namespace {

const QSize Size(640, 400);
constexpr int Points = 12;
constexpr int Known = 7;  // the bar the pixel checks look at

// Twelve runs of a typist: hits 200..400 in blue with misses 5..30 stacked on them in red.
// With marks: the hits' 19 pixels down inside the bar, the misses' 3 pixels above it.
void fillModel(ChartModel& model, bool marks = false) {
  const int hitsOffset = marks ? -19 : 3;
  const int hits = model.addSeries({u"正打数"_s, Blue, 60, true, BarStyle::RectangularBox, marks, hitsOffset, {}});
  const int misses = model.addSeries({u"ミス数"_s, Red, 60, true, BarStyle::RectangularBox, marks, 3, {}});
  for (int i = 0; i < Points; ++i) {
    model.add(hits, 200 + (i * 37) % 200, u"%1/%2"_s.arg(i / 4 + 3).arg(i % 4 * 7 + 1));
    model.add(misses, 5 + (i * 11) % 26, QString());
  }
  model.setTitleLine(0, u"ローマ字"_s);
  model.setTitleLine(1, u"正打数とミス数"_s);
}

QImage render(const ChartModel& model, const std::optional<AxisRect>& axes = std::nullopt) {
  QImage image(Size, QImage::Format_ARGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  ChartRenderer(model).paint(painter, QRectF(QPointF(), Size), axes);
  return image;
}

// The pixel at a point in plot pixels.
QColor at(const QImage& image, const QRectF& plot, QPointF inPlot) {
  return image.pixelColor((plot.topLeft() + inPlot).toPoint());
}

bool isBlue(const QColor& c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; }
bool isRed(const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
bool isDarkBlue(const QColor& c) { return c.blue() > 60 && c.blue() < 200 && c.red() < 40 && c.green() < 40; }
bool isLight(const QColor& c) { return c.red() > 170 && c.green() > 170 && c.blue() > 170; }
bool isText(const QColor& c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; }
bool markFill(const QColor& c) { return c.red() > 250 && c.green() > 250 && c.blue() > 210 && c.blue() < 240; }

int count(const QImage& image, const QRect& area, const std::function<bool(const QColor&)>& test) {
  int n = 0;
  const QRect inside = area & image.rect();
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x) n += test(image.pixelColor(x, y)) ? 1 : 0;
  return n;
}

// The known position's bar of a series.
BarGeometry barOf(const ChartGeometry& geometry, const ChartModel& model, int series) {
  for (const BarGeometry& bar : geometry.bars(model))
    if (bar.series == series && bar.position == Known) return bar;
  return {};
}

}  // namespace

class ChartViewTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void theChartIsPaintedWithManyColours();
  void barsStackHitsBelowMissesWithDarkerSideFacesIn3D();
  void flatBarsHaveNoSideFaces();
  void visibleMarksWriteTheValueAtTheAnchor();
  void zoomedBarsStayInsideTheBox();
  void marksStayInsideThePlot_data();
  void marksStayInsideThePlot();
  void zoomedMarksStayInsideTheWalls();
  void theLegendShowsOneColourBoxPerSeries();
  void everyStyleRendersItsOwnShape_data();
  void everyStyleRendersItsOwnShape();
  void theWidgetPaintsWhatTheRendererPaints();
  void aDragToTheLowerRightZoomsInTwelveSteps();
  void aDragToTheUpperLeftAndUndoZoomUndoEveryTime();
  void pageChangesAndTheHintReachTheWidget();
};

void ChartViewTest::theChartIsPaintedWithManyColours() {
  ChartModel model;
  fillModel(model);
  const QImage image = render(model);
  const QColor first = image.pixelColor(0, 0);
  QCOMPARE_GT(count(image, image.rect(), [&](const QColor& c) { return c != first; }),
              Size.width() * Size.height() / 2);
  // Light blue at the top, white at the bottom.
  QCOMPARE_LT(image.pixelColor(2, 2).red(), 200);
  QCOMPARE_GT(image.pixelColor(2, 2).blue(), 230);
  QCOMPARE(image.pixelColor(2, Size.height() - 2).red(), 255);
  // Both walls in 3D: the left one light yellow, the bottom one white.
  const ChartRenderer renderer(model);
  const QRectF plot = renderer.plotArea(QRectF(QPointF(), Size));
  const ChartGeometry g = renderer.geometry(QRectF(QPointF(), Size));
  const std::vector<QPointF> left = g.leftWall();  // behind the first bar but for a strip at the front
  const QColor leftWall = at(image, plot, (left[0] + left[1]) / 2 + QPointF(4, 0));
  QCOMPARE(leftWall, QColor(255, 255, 128));
  QCOMPARE(g.bottomWall().size(), 4u);
  const QRectF front = barOf(g, model, 0).front;  // the wall shows between two bars at the front
  QCOMPARE(at(image, plot, {front.right() + 4, front.bottom() - 2}), QColor(Qt::white));
}

void ChartViewTest::barsStackHitsBelowMissesWithDarkerSideFacesIn3D() {
  ChartModel model;
  fillModel(model);
  const QImage image = render(model);
  const ChartRenderer renderer(model);
  const QRectF plot = renderer.plotArea(QRectF(QPointF(), Size));
  const ChartGeometry g = renderer.geometry(QRectF(QPointF(), Size));
  const BarGeometry hits = barOf(g, model, 0);
  const BarGeometry misses = barOf(g, model, 1);
  QVERIFY(!hits.sideFace.empty());
  QCOMPARE_GT(misses.front.height(), 6.0);

  QVERIFY(isBlue(at(image, plot, hits.front.center())));
  QVERIFY(isBlue(at(image, plot, {hits.front.center().x(), hits.front.top() + 3})));
  QVERIFY(isRed(at(image, plot, misses.front.center())));
  QVERIFY(isRed(at(image, plot, {misses.front.center().x(), misses.front.bottom() - 3})));
  // The receding faces: the side darker than the front, the top of the misses darker red.
  const QPointF side = (hits.sideFace[0] + hits.sideFace[1] + hits.sideFace[2] + hits.sideFace[3]) / 4;
  QVERIFY2(isDarkBlue(at(image, plot, side)), qPrintable(at(image, plot, side).name()));
  const QPointF top = (misses.topFace[0] + misses.topFace[1] + misses.topFace[2] + misses.topFace[3]) / 4;
  const QColor topColour = at(image, plot, top);
  QVERIFY2(topColour.red() > 120 && topColour.red() < 240 && topColour.green() < 40, qPrintable(topColour.name()));
}

void ChartViewTest::flatBarsHaveNoSideFaces() {
  ChartModel model;
  fillModel(model);
  model.appearance().view3D = false;
  const QImage image = render(model);
  const ChartRenderer renderer(model);
  const QRectF plot = renderer.plotArea(QRectF(QPointF(), Size));
  const ChartGeometry g = renderer.geometry(QRectF(QPointF(), Size));
  const BarGeometry hits = barOf(g, model, 0);
  const BarGeometry misses = barOf(g, model, 1);
  QVERIFY(hits.sideFace.empty());
  QVERIFY(isBlue(at(image, plot, hits.front.center())));
  QVERIFY(isRed(at(image, plot, misses.front.center())));
  const QColor right = at(image, plot, {hits.front.right() + 4, hits.front.center().y()});
  QVERIFY2(isLight(right), qPrintable(right.name()));
  const QColor above = at(image, plot, {misses.front.center().x() + misses.front.width() / 4, misses.front.top() - 3});
  QVERIFY2(isLight(above), qPrintable(above.name()));
}

void ChartViewTest::visibleMarksWriteTheValueAtTheAnchor() {
  ChartModel model;
  fillModel(model);
  const ChartRenderer renderer(model);
  auto textNearAnchor = [&](int series) {
    const QImage image = render(model);
    const QRectF plot = renderer.plotArea(QRectF(QPointF(), Size));
    const BarGeometry bar = barOf(renderer.geometry(QRectF(QPointF(), Size)), model, series);
    const QPoint anchor = (plot.topLeft() + bar.markAnchor).toPoint();
    return count(image, QRect(anchor.x() - 12, anchor.y() - 16, 25, 16), isText);
  };
  QCOMPARE(textNearAnchor(0), 0);
  QCOMPARE(textNearAnchor(1), 0);
  model.setMarksVisible(1, true);
  QCOMPARE_GT(textNearAnchor(1), 8);
  QCOMPARE(textNearAnchor(0), 0);
  model.setMarksVisible(1, false);
  model.setMarksVisible(0, true);
  QCOMPARE_GT(textNearAnchor(0), 8);
  QCOMPARE(textNearAnchor(1), 0);
}

void ChartViewTest::zoomedBarsStayInsideTheBox() {
  ChartModel model;
  fillModel(model);

  // Flat, every hits bar reaching beyond the top: cut at the plot's top edge.
  model.appearance().view3D = false;
  model.appearance().titleLines.clear();
  const AxisRect low{model.bottomAxisRange(), {0, 100}};
  {
    const QImage image = render(model, low);
    const ChartRenderer renderer(model);
    const QRectF plot = renderer.plotArea(QRectF(QPointF(), Size), low);
    const BarGeometry hits = barOf(renderer.geometry(QRectF(QPointF(), Size), low), model, 0);
    QVERIFY(isBlue(at(image, plot, {hits.front.center().x(), 3})));
    QVERIFY(!isBlue(at(image, plot, {hits.front.center().x(), -3})));
    QCOMPARE(count(image, QRect(0, 0, Size.width(), int(plot.top()) - 1), isBlue), 0);
  }

  // In 3D, positions 7.0 .. 11.0 and values 150 .. 450: the known bar stands
  // half beyond the left wall, every bar's base below the floor. The walls
  // show right beside the cut bars: above the known bar's top face on the left
  // wall, in front of the last whole bar's side face on the floor.
  model.appearance().view3D = true;
  const AxisRect zoomed{{7.5, 10.5}, {150, 450}};
  const QImage image = render(model, zoomed);
  const ChartRenderer renderer(model);
  const QRectF plot = renderer.plotArea(QRectF(QPointF(), Size), zoomed);
  const ChartGeometry g = renderer.geometry(QRectF(QPointF(), Size), zoomed);
  const double d = g.depth();
  QCOMPARE_GT(d, 10.0);
  const BarGeometry known = barOf(g, model, 1);
  QCOMPARE(known.front.left(), 0.0);
  const QColor wall = at(image, plot, {d / 2, known.front.top() - d / 2 - 3});
  QVERIFY2(wall.red() > 240 && wall.green() > 240 && wall.blue() > 100 && wall.blue() < 160, qPrintable(wall.name()));
  BarGeometry last;
  for (const BarGeometry& bar : g.bars(model))
    if (bar.series == 0 && bar.position == 10) last = bar;
  const double floorFront = g.frontPlane().bottom();
  QCOMPARE(last.front.bottom(), floorFront);
  const QColor floor = at(image, plot, {last.front.right() + d / 2, floorFront - d / 2 + 3});
  QVERIFY2(isLight(floor), qPrintable(floor.name()));
}

void ChartViewTest::marksStayInsideThePlot_data() {
  QTest::addColumn<double>("lastPosition");
  QTest::addColumn<double>("topValue");  // 0: the model's own
  // A thousand positions a page: every mark wants the same few pixels at the left wall.
  QTest::newRow("crowded") << 999.0 << 0.0;
  // Bars only a few pixels high: the hits marks, 19 pixels down, would reach the bottom labels.
  QTest::newRow("low bars") << 11.0 << 20000.0;
}

void ChartViewTest::marksStayInsideThePlot() {
  QFETCH(double, lastPosition);
  QFETCH(double, topValue);
  ChartModel model;
  fillModel(model, true);
  const AxisRect axes{{0, lastPosition}, topValue > 0 ? AxisRange{0, topValue} : model.leftAxisRange()};
  const QImage image = render(model, axes);
  const QRect plot = ChartRenderer(model).plotArea(QRectF(QPointF(), Size), axes).toRect().adjusted(-1, -1, 1, 1);
  QCOMPARE_GT(count(image, plot, markFill), 100);
  QCOMPARE(count(image, QRect(0, 0, plot.left(), Size.height()), markFill), 0);
  QCOMPARE(count(image, QRect(plot.right() + 1, 0, Size.width(), Size.height()), markFill), 0);
  QCOMPARE(count(image, QRect(0, plot.bottom() + 1, Size.width(), Size.height()), markFill), 0);
}

// Zoomed, no mark goes above the walls, into the strip kept there for the
// model's own tallest bars. (In 3D the back wall reaches that high.)
void ChartViewTest::zoomedMarksStayInsideTheWalls() {
  ChartModel model;
  fillModel(model, true);
  model.appearance().view3D = false;
  // The tallest stack (393) just below the ceiling.
  const AxisRect zoomed{{2.5, 9.5}, {200, 395}};
  const QRect plot = ChartRenderer(model).plotArea(QRectF(QPointF(), Size), zoomed).toRect().adjusted(-1, -1, 1, 1);
  const QImage whileZooming = render(model, zoomed);
  QCOMPARE_GT(count(whileZooming, plot, markFill), 100);
  QCOMPARE(count(whileZooming, QRect(0, 0, Size.width(), plot.top()), markFill), 0);

  model.zoom(zoomed);  // and once the zoom has played
  QVERIFY(model.isZoomed());
  QCOMPARE(render(model), whileZooming);
}

void ChartViewTest::theLegendShowsOneColourBoxPerSeries() {
  ChartModel model;
  fillModel(model);
  const ChartRenderer renderer(model);
  const QRectF plot = renderer.plotArea(QRectF(QPointF(), Size));
  const QRect rightOfPlot(int(plot.right()) + 2, 0, Size.width(), Size.height());
  const QImage shown = render(model);
  QCOMPARE_GT(count(shown, rightOfPlot, isBlue), 50);
  QCOMPARE_GT(count(shown, rightOfPlot, isRed), 50);
  QCOMPARE_GT(count(shown, rightOfPlot, isText), 20);  // the titles

  model.appearance().legendVisible = false;
  const QRectF wider = ChartRenderer(model).plotArea(QRectF(QPointF(), Size));
  QCOMPARE_GT(wider.width(), plot.width());
  const QImage hidden = render(model);
  QCOMPARE(count(hidden, QRect(int(wider.right()) + 2, 0, Size.width(), Size.height()), isRed), 0);
}

void ChartViewTest::everyStyleRendersItsOwnShape_data() {
  QTest::addColumn<int>("style");
  QTest::addColumn<bool>("view3D");
  for (int style = 1; style <= 6; ++style)
    for (bool view3D : {true, false}) QTest::addRow("style %d %s", style, view3D ? "3D" : "2D") << style << view3D;
}

void ChartViewTest::everyStyleRendersItsOwnShape() {
  QFETCH(int, style);
  QFETCH(bool, view3D);
  ChartModel model;
  fillModel(model);
  model.appearance().view3D = view3D;
  const QImage box = render(model);
  for (int s = 0; s < model.seriesCount(); ++s) model.setBarStyle(s, BarStyle(style));
  const QImage shaped = render(model);

  // The plot and the antialiased pixel around it.
  const QRect plot = ChartRenderer(model).plotArea(QRectF(QPointF(), Size)).toRect().adjusted(-1, -1, 1, 1);
  int differing = 0;
  QRect outside;
  for (int y = 0; y < Size.height(); ++y)
    for (int x = 0; x < Size.width(); ++x)
      if (box.pixelColor(x, y) != shaped.pixelColor(x, y)) {
        if (plot.contains(x, y))
          ++differing;
        else
          outside |= QRect(x, y, 1, 1);
      }
  QCOMPARE_GT(differing, 200);
  QCOMPARE(outside, QRect());  // the style changes the bars only
  QCOMPARE_GT(count(shaped, plot, [](const QColor& c) { return c.blue() > 150 && c.red() < 120 && c.green() < 120; }),
              500);
  QCOMPARE_GT(count(shaped, plot, [](const QColor& c) { return c.red() > 150 && c.blue() < 120 && c.green() < 120; }),
              50);
}

void ChartViewTest::theWidgetPaintsWhatTheRendererPaints() {
  Chart3DView view;
  fillModel(view.model());
  view.resize(Size);
  const QImage grabbed = view.grab().toImage().convertToFormat(QImage::Format_ARGB32);
  QCOMPARE(grabbed.size(), Size);
  QImage painted(Size, QImage::Format_ARGB32);
  {
    QPainter painter(&painted);
    ChartRenderer(view.model(), view.font()).paint(painter, QRectF(QPointF(), Size));
  }
  QCOMPARE(grabbed, painted);
  QCOMPARE(view.plotArea(), ChartRenderer(view.model(), view.font()).plotArea(QRectF(QPointF(), Size)));
}

void ChartViewTest::aDragToTheLowerRightZoomsInTwelveSteps() {
  Chart3DView view;
  fillModel(view.model());
  view.resize(Size);
  QSignalSpy zoomed(&view, &Chart3DView::zoomed);
  const AxisRect before{view.model().bottomAxisRange(), view.model().leftAxisRange()};
  const QImage unzoomed = view.grab().toImage();

  const QRectF plot = view.plotArea();
  const QPoint from = (plot.topLeft() + QPointF(plot.width() * 0.3, plot.height() * 0.2)).toPoint();
  const QPoint to = (plot.topLeft() + QPointF(plot.width() * 0.7, plot.height() * 0.8)).toPoint();
  QTest::mousePress(&view, Qt::LeftButton, {}, from);
  QTest::mouseMove(&view, to);
  const QImage band = view.grab().toImage();
  QVERIFY(band != unzoomed);  // the rubber band
  QCOMPARE(zoomed.count(), 0);
  QTest::mouseRelease(&view, Qt::LeftButton, {}, to);

  QCOMPARE(zoomed.count(), 1);
  QVERIFY(view.model().isZoomed());
  const AxisRect after{view.model().bottomAxisRange(), view.model().leftAxisRange()};
  const ChartGeometry g = ChartRenderer(view.model(), view.font()).geometry(QRectF(QPointF(), Size), before);
  QCOMPARE(after, g.zoomTargetFor(QRectF(from, to).translated(-plot.topLeft())));
  QVERIFY(after.bottom.maximum - after.bottom.minimum < before.bottom.maximum - before.bottom.minimum);
  QVERIFY(after.left.maximum - after.left.minimum < before.left.maximum - before.left.minimum);

  // The first frames show steps between the old and the new axes, the last the new ones.
  const QImage firstStep = view.grab().toImage();
  QImage target(Size, QImage::Format_ARGB32);
  {
    QPainter painter(&target);
    ChartRenderer(view.model(), view.font()).paint(painter, QRectF(QPointF(), Size));
  }
  QVERIFY(firstStep.convertToFormat(QImage::Format_ARGB32) != target);
  QVERIFY(firstStep != unzoomed);
  QTRY_COMPARE_WITH_TIMEOUT(view.grab().toImage().convertToFormat(QImage::Format_ARGB32), target, 2000);
  QCOMPARE(zoomed.count(), 1);
}

void ChartViewTest::aDragToTheUpperLeftAndUndoZoomUndoEveryTime() {
  Chart3DView view;
  fillModel(view.model());
  view.resize(Size);
  QSignalSpy undone(&view, &Chart3DView::undoZoomed);
  const AxisRect before{view.model().bottomAxisRange(), view.model().leftAxisRange()};
  const QImage unzoomed = view.grab().toImage();
  const QRectF plot = view.plotArea();
  view.zoomToPixels(plot.adjusted(plot.width() / 3, plot.height() / 3, 0, 0).toRect());
  QVERIFY(view.model().isZoomed());

  const QPoint from = plot.center().toPoint();
  QTest::mousePress(&view, Qt::LeftButton, {}, from);
  QTest::mouseMove(&view, from - QPoint(40, 30));
  QTest::mouseRelease(&view, Qt::LeftButton, {}, from - QPoint(40, 30));
  QCOMPARE(undone.count(), 1);
  QVERIFY(!view.model().isZoomed());
  QCOMPARE((AxisRect{view.model().bottomAxisRange(), view.model().leftAxisRange()}), before);
  QCOMPARE(view.grab().toImage(), unzoomed);  // no zoom step is left playing

  view.undoZoom();
  view.undoZoom();
  QCOMPARE(undone.count(), 3);
  QCOMPARE((AxisRect{view.model().bottomAxisRange(), view.model().leftAxisRange()}), before);

  // A click without a drag does nothing.
  QTest::mouseClick(&view, Qt::LeftButton, {}, from);
  QCOMPARE(undone.count(), 3);
  QVERIFY(!view.model().isZoomed());
}

void ChartViewTest::pageChangesAndTheHintReachTheWidget() {
  Chart3DView view;
  fillModel(view.model());
  view.resize(Size);
  QSignalSpy paged(&view, &Chart3DView::pageChanged);
  view.model().setMaxPointsPerPage(5);
  view.model().nextPage();
  QCOMPARE(paged.count(), 1);
  view.model().nextPage();
  view.model().nextPage();  // already the last page
  QCOMPARE(paged.count(), 2);

  view.model().appearance().hint = u"ドラッグで拡大"_s;
  view.grab();
  QCOMPARE(view.toolTip(), u"ドラッグで拡大"_s);
}

QTEST_MAIN(ChartViewTest)
#include "ChartViewTest.moc"
