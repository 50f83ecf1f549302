// The 3D chart window, driven as a user would, offscreen: the points it is
// given, paging with the track bar and the four buttons,
// the points per page, zoom and undo, the stored options and what closing
// writes.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <cmath>
#include <functional>
#include <memory>

#include "chart3d/Chart3DView.h"
#include "chart3d/ChartIcons.h"
#include "chart3d/Tfrm3DGraph.h"
#include "records/DayCount.h"
#include "settings/SettingsFile.h"
#include "support/TempDir.h"
#include "support/WindowFixture.h"
#include "tools/RecordFileGenerator.h"
#include "ui/FontNames.h"
#include "ui/MessageBoxes.h"

using namespace Qt::StringLiterals;
using chart3d::AxisRange;

namespace {

// `count` points labelled "P1", "P2", ... with distinct hits and misses.
ChartPoints makePoints(int count) {
  ChartPoints points;
  for (int i = 1; i <= count; ++i) points.push_back({u"P%1"_s.arg(i), 100 + i, i % 7});
  return points;
}

const QString ChartForm = u"ChartForm"_s;
const QString ChartOption = u"ChartOption"_s;

}  // namespace

class Chart3DWindowTest : public QObject, private WindowFixture {
  Q_OBJECT

 private:
  std::unique_ptr<SettingsFile> settings;
  ChartInput input;  // what the window is given

  // Exactly `count` record points, as the history and the graph give them.
  void withRecordPoints(int count) { input = {makePoints(count), u"ローマ字の新記録"_s}; }

  void setOption(const QString& key, int value) { QVERIFY(settings->writeInteger(ChartOption, key, value)); }

  std::unique_ptr<Tfrm3DGraph> openChart() {
    auto chart = std::make_unique<Tfrm3DGraph>(settings.get(), input, nullptr,
                                               [this](QWidget*, const QString& text) { messages << text; });
    chart->show();
    return chart;
  }

  static AxisRange visible(const Tfrm3DGraph& w) { return w.MinChart->model().bottomAxisRange(); }
  static AxisRange range(int first, int last) { return {double(first), double(last)}; }

  // First, previous, next, last enabled.
  static QList<bool> pageButtons(const Tfrm3DGraph& w) {
    return {w.btFirst->isEnabled(), w.btPrev->isEnabled(), w.btNext->isEnabled(), w.btLast->isEnabled()};
  }

  static int inkCount(const QImage& image, const QRect& area, const std::function<bool(QColor)>& ink) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) n += ink(image.pixelColor(x, y)) ? 1 : 0;
    return n;
  }

  int storedOption(const QString& key) const { return SettingsFile(settingsPath()).readInteger(ChartOption, key, -99); }
  int storedForm(const QString& key) const { return SettingsFile(settingsPath()).readInteger(ChartForm, key, -99); }

 private Q_SLOTS:
  void initTestCase() { FontNames::installSubstitutions(); }

  void init() {
    setUpWindowFolder();
    settings = std::make_unique<SettingsFile>(settingsPath());
    input = {};
  }

  void cleanup() {
    settings.reset();
    tearDownWindowFolder();
  }

  void designSettingsAndTheRecordPoints() {
    withRecordPoints(40);
    const ChartPoints points = *input.points;
    auto w = openChart();
    QCOMPARE(w->windowTitle(), u"TAPPERの足跡32"_s);
    QVERIFY(w->isModal());
    QCOMPARE(w->PointCount, int(points.size()) + 1);
    const chart3d::ChartModel& chart = w->MinChart->model();
    QCOMPARE(chart.pointCount(), int(points.size()));
    QCOMPARE(chart.appearance().titleLines.value(0), u"ローマ字の新記録"_s);
    for (int i = 0; i < int(points.size()); ++i) {
      QCOMPARE(chart.series(w->HitSeries).points[std::size_t(i)].value, double(points[std::size_t(i)].hits));
      QCOMPARE(chart.series(w->MissSeries).points[std::size_t(i)].value, double(points[std::size_t(i)].misses));
      QCOMPARE(chart.bottomAxisLabel(i), points[std::size_t(i)].label);
      QVERIFY(chart.series(w->MissSeries).points[std::size_t(i)].label.isEmpty());
    }
    QCOMPARE(chart.series(w->HitSeries).title, u"HIT"_s);
    QCOMPARE(chart.series(w->HitSeries).colour, chart3d::Blue);
    QCOMPARE(chart.series(w->HitSeries).markOffset, -19);
    QCOMPARE(chart.series(w->MissSeries).title, u"MISS"_s);
    QCOMPARE(chart.series(w->MissSeries).colour, chart3d::Red);
    QCOMPARE(chart.series(w->MissSeries).markOffset, 3);
    QCOMPARE(chart.appearance().leftWall, chart3d::LightYellow);
    QCOMPARE(chart.appearance().hint, u"矩形に左ドラッグすればその部分を拡大表示できます。"_s);
    // No settings yet: the defaults.
    QCOMPARE(w->coBarStyle->count(), 7);
    QCOMPARE(w->coBarStyle->currentIndex(), 0);
    QCOMPARE(w->coBarStyle->itemText(6), u"矢印"_s);
    QVERIFY(w->cbLegend->isChecked() && w->cb3D->isChecked() && w->cbMarker->isChecked());
    QCOMPARE(chart.maxPointsPerPage(), 10);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(w->height(), 2 * screen.height() / 3);
    QCOMPARE(w->width(), 2 * screen.width() / 3);
    QCOMPARE(w->frameGeometry().top(), (screen.height() - w->height()) / 2);
    QCOMPARE(w->frameGeometry().left(), (screen.width() - w->width()) / 2);
  }

  void exactlyOnePageUsesTheSinglePageLayout() {
    withRecordPoints(10);
    auto w = openChart();
    QCOMPARE(w->PointCount, 11);
    QVERIFY(!w->pagingLayout());
    QVERIFY(!w->TrackBar1->isVisible());
    QCOMPARE(pageButtons(*w), (QList<bool>{false, false, false, false}));
    QCOMPARE(w->SpinEdit1->value(), 10);
    QCOMPARE(visible(*w), range(0, 9));
    QCOMPARE(w->MinChart->geometry(), QRect(0, Tfrm3DGraph::ToolBarHeight, w->width(), w->height() - 22));
    QCOMPARE(w->MinChart->model().appearance().titleLines.value(0), u"ローマ字の新記録"_s);
  }

  void onePointMoreOpensOnTheLastPage() {
    withRecordPoints(11);
    auto w = openChart();
    QVERIFY(w->pagingLayout());
    QVERIFY(w->TrackBar1->isVisible());
    QCOMPARE(w->TrackBar1->maximum(), 1);
    QCOMPARE(w->TrackBar1->value(), 1);
    QCOMPARE(w->LastPosition, 1);
    QCOMPARE(visible(*w), range(1, 10));  // points 2 to 11
    QCOMPARE(w->MinChart->model().bottomAxisLabel(1), u"P2"_s);
    QCOMPARE(pageButtons(*w), (QList<bool>{true, true, false, false}));
    const int ch = w->height();
    QCOMPARE(w->MinChart->height(), ch - 25 - 22 - 2);
    QCOMPARE(w->TrackBar1->geometry(), QRect(0, ch - 25 - 1, w->width(), 25));
  }

  void pageButtonsAndTheTrackBarMoveTheVisiblePoints() {
    withRecordPoints(35);
    auto w = openChart();
    QCOMPARE(w->TrackBar1->maximum(), 25);
    QCOMPARE(visible(*w), range(25, 34));
    w->btPrev->click();
    QCOMPARE(w->TrackBar1->value(), 15);
    QCOMPARE(visible(*w), range(15, 24));
    w->btPrev->click();
    QCOMPARE(visible(*w), range(5, 14));
    w->btPrev->click();  // below N: to the start
    QCOMPARE(w->TrackBar1->value(), 0);
    QCOMPARE(visible(*w), range(0, 9));
    QCOMPARE(pageButtons(*w), (QList<bool>{false, false, true, true}));
    w->btLast->click();
    QCOMPARE(visible(*w), range(25, 34));
    QCOMPARE(pageButtons(*w), (QList<bool>{true, true, false, false}));
    w->btFirst->click();
    QCOMPARE(visible(*w), range(0, 9));
    w->TrackBar1->setValue(18);  // the user moves the track bar
    QCOMPARE(w->LastPosition, 18);
    QCOMPARE(visible(*w), range(18, 27));
    QCOMPARE(pageButtons(*w), (QList<bool>{true, true, true, true}));
    w->btNext->click();  // near the end: stops at the maximum
    QCOMPARE(w->TrackBar1->value(), 25);
    QCOMPARE(visible(*w), range(25, 34));
    QCOMPARE(pageButtons(*w), (QList<bool>{true, true, false, false}));
  }

  void changingThePointsPerPageReturnsToTheStart() {
    withRecordPoints(35);
    auto w = openChart();
    w->SpinEdit1->setValue(5);
    QCOMPARE(w->MinChart->model().maxPointsPerPage(), 5);
    QCOMPARE(w->TrackBar1->value(), 0);
    QCOMPARE(w->LastPosition, 0);
    QCOMPARE(w->TrackBar1->maximum(), 30);
    QCOMPARE(visible(*w), range(0, 4));
    w->btNext->click();
    QCOMPARE(visible(*w), range(5, 9));
    // Typed: each accepted keystroke counts.
    w->SpinEdit1->selectAll();
    QTest::keyClicks(w->SpinEdit1, u"20"_s);
    QCOMPARE(w->MinChart->model().maxPointsPerPage(), 20);
    QCOMPARE(w->TrackBar1->maximum(), 15);
    QCOMPARE(visible(*w), range(0, 19));
    QVERIFY(w->TrackBar1->isVisible());
    // At least P points: one page.
    w->SpinEdit1->setValue(35);
    QVERIFY(!w->TrackBar1->isVisible());
    QCOMPARE(visible(*w), range(0, 34));
    QCOMPARE(pageButtons(*w), (QList<bool>{false, false, false, false}));
    QCOMPARE(w->MinChart->height(), w->height() - 22);
    // And back to paging.
    w->SpinEdit1->setValue(34);
    QVERIFY(w->TrackBar1->isVisible());
    QCOMPARE(w->TrackBar1->maximum(), 1);
    QCOMPARE(w->MinChart->height(), w->height() - 49);
    QCOMPARE(pageButtons(*w), (QList<bool>{false, false, true, true}));
  }

  void averagePointsShowWithTheirTitle() {
    input = {makePoints(3), u"日毎の平均"_s};
    auto w = openChart();
    QCOMPARE(w->PointCount, 4);
    QCOMPARE(w->MinChart->model().pointCount(), 3);
    QCOMPARE(w->MinChart->model().appearance().titleLines.value(0), u"日毎の平均"_s);
    QCOMPARE(w->MinChart->model().series(w->HitSeries).points[2].value, 103.0);
    QCOMPARE(w->MinChart->model().series(w->MissSeries).points[2].value, 3.0);
  }

  void noPointsGiveAnEmptyChart() {
    {
      input = {};  // no points at all, not an empty list
      auto w = openChart();
      QCOMPARE(w->PointCount, 0);
      QCOMPARE(w->MinChart->model().pointCount(), 0);
      QCOMPARE(w->MinChart->model().appearance().titleLines, QStringList{Tfrm3DGraph::designTitle()});
      QVERIFY(!w->TrackBar1->isVisible());
      QCOMPARE(pageButtons(*w), (QList<bool>{false, false, false, false}));
    }
  }

  void barStylesApplyToBothSeries() {
    setOption(u"BarStyle"_s, 4);
    withRecordPoints(3);
    auto w = openChart();
    QCOMPARE(w->coBarStyle->currentIndex(), 4);
    QCOMPARE(w->MinChart->model().series(w->HitSeries).style, chart3d::BarStyle::Cylinder);
    QCOMPARE(w->MinChart->model().series(w->MissSeries).style, chart3d::BarStyle::Cylinder);
    w->coBarStyle->setCurrentIndex(2);
    QCOMPARE(w->MinChart->model().series(w->HitSeries).style, chart3d::BarStyle::Pyramid);
    QCOMPARE(w->MinChart->model().series(w->MissSeries).style, chart3d::BarStyle::Pyramid);
  }

  void barStyleSevenLeavesNoItemAndIsWrittenBackAsMinusOne() {
    setOption(u"BarStyle"_s, 7);
    withRecordPoints(3);
    auto w = openChart();
    QCOMPARE(w->coBarStyle->currentIndex(), -1);
    QCOMPARE(w->MinChart->model().series(w->HitSeries).style, chart3d::BarStyle::RectangularBox);
    QVERIFY(w->close());
    QCOMPARE(storedOption(u"BarStyle"_s), -1);
  }

  void storedZerosSwitchTheOptionsOff() {
    for (const QString& key : {u"Marker"_s, u"Legend"_s, u"3D"_s, u"MaxPointsPerPage"_s}) setOption(key, 0);
    withRecordPoints(5);
    auto w = openChart();
    const chart3d::ChartModel& chart = w->MinChart->model();
    QVERIFY(!w->cbMarker->isChecked());
    QVERIFY(!w->cbLegend->isChecked());
    QVERIFY(!w->cb3D->isChecked());
    QVERIFY(!chart.appearance().legendVisible);
    QVERIFY(!chart.appearance().view3D);
    QVERIFY(!chart.series(w->HitSeries).marksVisible);
    QVERIFY(!chart.series(w->MissSeries).marksVisible);
    QCOMPARE(chart.maxPointsPerPage(), 1);  // the spin box keeps 1 to 1000
    QCOMPARE(w->SpinEdit1->value(), 1);
    QCOMPARE(w->TrackBar1->maximum(), 4);
    QCOMPARE(w->TrackBar1->value(), 4);
    QCOMPARE(visible(*w), range(4, 4));
    // The option menu switches them back.
    w->cbLegendClick();
    QVERIFY(w->cbLegend->isChecked());
    QVERIFY(chart.appearance().legendVisible);
    w->cb3D->trigger();  // the menu item
    QVERIFY(w->cb3D->isChecked());
    QVERIFY(chart.appearance().view3D);
    w->cbMarkerClick();
    QVERIFY(chart.series(w->HitSeries).marksVisible && chart.series(w->MissSeries).marksVisible);
    w->cbMarkerClick();
    QVERIFY(!chart.series(w->HitSeries).marksVisible && !chart.series(w->MissSeries).marksVisible);
  }

  void pointsPerPageAboveAThousandIsHeldAtAThousand() {
    setOption(u"MaxPointsPerPage"_s, 5000);
    withRecordPoints(1500);  // every point is kept
    auto w = openChart();
    QCOMPARE(w->MinChart->model().maxPointsPerPage(), 1000);
    QCOMPARE(w->SpinEdit1->value(), 1000);
    QCOMPARE(w->MinChart->model().pointCount(), 1500);
    QVERIFY(w->TrackBar1->isVisible());
    QCOMPARE(w->TrackBar1->maximum(), 500);
    QCOMPARE(visible(*w), range(0, 999));
    w->btLast->click();
    QCOMPARE(visible(*w), range(500, 1499));
    QVERIFY(w->close());
    QCOMPARE(storedOption(u"MaxPointsPerPage"_s), 1000);
  }

  void negativePointsPerPageIsReportedAndLeavesTheChartEmpty() {
    setOption(u"MaxPointsPerPage"_s, -3);
    withRecordPoints(20);
    auto w = openChart();
    QCOMPARE(messages, QStringList{u"MaxPointsPerPage は 0 以上でなければなりません"_s});
    QCOMPARE(w->PointCount, 0);
    QCOMPARE(w->MinChart->model().pointCount(), 0);
    QCOMPARE(w->MinChart->model().appearance().titleLines, QStringList{Tfrm3DGraph::designTitle()});
    QVERIFY(w->close());
    QCOMPARE(storedOption(u"MaxPointsPerPage"_s), 10);  // the design value stayed
  }

  void zoomHidesThePagingControlsAndUndoBringsThemBack() {
    withRecordPoints(35);
    auto w = openChart();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->btPrev->click();
    QCOMPARE(visible(*w), range(15, 24));
    QSignalSpy zoomed(w->MinChart, &Chart3DView::zoomed);
    const QRectF plot = w->MinChart->plotArea();
    w->MinChart->zoomToPixels(QRect(plot.center().toPoint() - QPoint(40, 40), QSize(80, 60)));
    QCOMPARE(zoomed.size(), 1);
    QVERIFY(w->MinChart->model().isZoomed());
    QVERIFY(w->btUndoZoom->isVisible());
    QVERIFY(!w->TrackBar1->isVisible());
    QTRY_VERIFY(!w->SpinEdit1->isVisible());  // after the tool bar's layout pass
    QCOMPARE(pageButtons(*w), (QList<bool>{false, false, false, false}));
    QCOMPARE(w->btUndoZoom->geometry(), QRect(8, w->height() - 25 + 1, 75, 18));
    QTest::qWait(400);  // the zoom animation
    QTest::mouseClick(w->btUndoZoom, Qt::LeftButton);
    QVERIFY(!w->MinChart->model().isZoomed());
    QVERIFY(!w->btUndoZoom->isVisible());
    QVERIFY(w->TrackBar1->isVisible());
    QTRY_VERIFY(w->SpinEdit1->isVisible());
    QCOMPARE(pageButtons(*w), (QList<bool>{true, true, true, true}));
    QCOMPARE(visible(*w), range(15, 24));
  }

  void zoomInTheSinglePageLayoutShortensTheChart() {
    withRecordPoints(6);
    auto w = openChart();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const QRectF plot = w->MinChart->plotArea();
    w->MinChart->zoomToPixels(QRect(plot.center().toPoint() - QPoint(30, 30), QSize(60, 60)));
    QCOMPARE(w->MinChart->height(), w->height() - 22 - 25);
    QVERIFY(w->btUndoZoom->isVisible());
    QTest::qWait(400);
    w->MinChart->undoZoom();  // the chart's own gesture
    QCOMPARE(w->MinChart->height(), w->height() - 22);
    QVERIFY(!w->btUndoZoom->isVisible());
    QCOMPARE(pageButtons(*w), (QList<bool>{false, false, false, false}));
  }

  void theTitleIsBoldRedMincho() {
    withRecordPoints(12);
    auto w = openChart();
    const chart3d::ChartAppearance& look = w->MinChart->model().appearance();
    QCOMPARE(look.titleFontFamily, u"ＭＳ 明朝"_s);
    QCOMPARE(look.titlePixelSize, 16);
    QVERIFY(look.titleBold);
    w->cbMarkerClick();  // without marks only the title lies above the plot
    const QImage chart = w->MinChart->grab().toImage();
    const QRect above(0, 0, chart.width(), int(w->MinChart->plotArea().top()));
    QCOMPARE_GT(inkCount(chart, above, [](QColor c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; }), 40);
    QCOMPARE(inkCount(chart, above, [](QColor c) { return c.red() < 100 && c.green() < 100 && c.blue() < 100; }), 0);
  }

  void thePointsPerPageBoxShowsAThousandWhole() {
    withRecordPoints(35);
    auto w = openChart();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->SpinEdit1->setValue(1000);
    const QLineEdit* text = w->SpinEdit1->findChild<QLineEdit*>();
    QVERIFY(text);
    QCOMPARE(text->text(), u"1000"_s);
    const QFontMetrics metrics(text->font());
    // A line edit keeps two pixels either side of its text.
    QCOMPARE_GE(text->contentsRect().width() - 4, metrics.horizontalAdvance(text->text()));
    QCOMPARE_GE(text->contentsRect().height(), metrics.height());
    QVERIFY(w->ToolBar1->rect().contains(w->SpinEdit1->geometry()));
  }

  void theUndoZoomCaptionIsNotCut() {
    withRecordPoints(35);
    auto w = openChart();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const QRectF plot = w->MinChart->plotArea();
    w->MinChart->zoomToPixels(QRect(plot.center().toPoint(), QSize(60, 60)));
    QVERIFY(w->btUndoZoom->isVisible());
    QCOMPARE(w->btUndoZoom->size(), QSize(75, 18));
    // The same button with room to spare shows all of the caption.
    QPushButton roomy(w->btUndoZoom->text());
    roomy.setFont(w->btUndoZoom->font());
    roomy.setIcon(w->btUndoZoom->icon());
    roomy.resize(300, 40);
    // The dark grey and black of the caption (and of a picture beside it), inside the frame.
    const auto ink = [](const QImage& image) {
      QRect box;
      for (int y = 2; y < image.height() - 2; ++y)
        for (int x = 2; x < image.width() - 2; ++x) {
          const QColor c = image.pixelColor(x, y);
          const bool dark = c.red() < 90 && c.green() < 90 && c.blue() < 90 && std::abs(c.red() - c.blue()) < 30;
          if (dark) box |= QRect(x, y, 1, 1);
        }
      return box;
    };
    const QRect whole = ink(roomy.grab().toImage());
    const QRect shown = ink(w->btUndoZoom->grab().toImage());
    QCOMPARE_GT(whole.width(), 40);
    // Centred on another half pixel, the ink may spread one pixel further.
    QCOMPARE_GE(shown.width(), whole.width() - 1);
    QCOMPARE_GE(shown.height(), whole.height() - 1);
  }

  void resizingFollowsTheLayout() {
    withRecordPoints(35);
    auto w = openChart();
    w->resize(600, 420);
    QCOMPARE(w->MinChart->geometry(), QRect(0, 22, 600, 420 - 25 - 22 - 2));
    QCOMPARE(w->TrackBar1->geometry(), QRect(0, 420 - 25 - 1, 600, 25));
    QCOMPARE(w->btUndoZoom->y(), 420 - 25 + 1);
    QCOMPARE(w->ToolBar1->geometry(), QRect(0, 0, 600, 22));
  }

  // The place and size ([ChartForm]) are kept by the window's shell
  // (tests/widgets/SideWindowTest.cpp); the display options here.
  void closingWritesTheDisplayOptions() {
    withRecordPoints(35);
    auto w = openChart();
    w->cbMarkerClick();
    w->cb3DClick();
    w->coBarStyle->setCurrentIndex(5);
    w->SpinEdit1->setValue(7);
    w->btClose->click();
    QVERIFY(!w->isVisible());
    QCOMPARE(storedForm(u"Width"_s), w->width());  // the close button keeps the place too
    QCOMPARE(storedOption(u"Marker"_s), 0);
    QCOMPARE(storedOption(u"Legend"_s), 1);
    QCOMPARE(storedOption(u"3D"_s), 0);
    QCOMPARE(storedOption(u"BarStyle"_s), 5);
    QCOMPARE(storedOption(u"MaxPointsPerPage"_s), 7);
    // The next opening reads them back.
    auto again = openChart();
    QVERIFY(!again->cbMarker->isChecked() && again->cbLegend->isChecked() && !again->cb3D->isChecked());
    QCOMPARE(again->coBarStyle->currentIndex(), 5);
    QCOMPARE(again->SpinEdit1->value(), 7);
    QCOMPARE(visible(*again), range(28, 34));
  }

  void escapeClosesAndWritesToo() {
    withRecordPoints(4);
    auto w = openChart();
    w->SpinEdit1->setValue(3);
    QTest::keyClick(w.get(), Qt::Key_Escape);
    QVERIFY(!w->isVisible());
    QCOMPARE(storedOption(u"MaxPointsPerPage"_s), 3);
  }

  void theToolBarPicturesAreDrawn() {
    for (const QPixmap& picture : {ChartIcons::first(), ChartIcons::previous(), ChartIcons::next(), ChartIcons::last(),
                                   ChartIcons::options(), ChartIcons::close()}) {
      QCOMPARE(picture.size(), QSize(16, 16));
      const QImage image = picture.toImage();
      int painted = 0;
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) painted += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
      QVERIFY(painted > 10 && painted < 256);
    }
    // First and previous point left, next and last right: where their ink lies.
    const auto inkCentre = [](const QPixmap& picture) {
      const QImage image = picture.toImage();
      double sum = 0, weight = 0;
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
          sum += (x + 0.5) * qAlpha(image.pixel(x, y));
          weight += qAlpha(image.pixel(x, y));
        }
      return sum / weight;
    };
    // A left-pointing arrow has its heavy base on the right; the bar of first/last sits at the tip side.
    QVERIFY(inkCentre(ChartIcons::previous()) > 8.1);
    QVERIFY(inkCentre(ChartIcons::next()) < 7.9);
    QCOMPARE(std::lround(inkCentre(ChartIcons::previous()) + inkCentre(ChartIcons::next())), 16L);
    QCOMPARE(std::lround(inkCentre(ChartIcons::first()) + inkCentre(ChartIcons::last())), 16L);
    // The bar: at the left of first, at the right of last.
    QVERIFY(qAlpha(ChartIcons::first().toImage().pixel(2, 3)) > 0);
    QCOMPARE(qAlpha(ChartIcons::first().toImage().pixel(13, 3)), 0);
    QVERIFY(qAlpha(ChartIcons::last().toImage().pixel(13, 3)) > 0);
    QCOMPARE(qAlpha(ChartIcons::last().toImage().pixel(2, 3)), 0);
  }
};

QTEST_MAIN(Chart3DWindowTest)
#include "Chart3DWindowTest.moc"
