#include "chart3d/Tfrm3DGraph.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <stdexcept>

#include "chart3d/Chart3DView.h"
#include "chart3d/ChartIcons.h"
#include "settings/SettingsFile.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int DesignWidth = 558;
constexpr int DesignHeight = 407;
constexpr int DesignPointsPerPage = 10;
constexpr int SpinMinimum = 1;
constexpr int SpinMaximum = 1000;

chart3d::BarSeries barSeries(const QString& title, chart3d::Rgb colour, int markOffset) {
  chart3d::BarSeries series;
  series.title = title;
  series.colour = colour;
  series.barWidthPercent = 60;
  series.stacked = true;
  series.marksVisible = true;
  series.markOffset = markOffset;
  return series;
}

SettingsEnvironment screenEnvironment() {
  const QRect screen =
      QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1024, 768);
  return {screen.width(), screen.height(), {}};
}

}  // namespace

QString Tfrm3DGraph::designTitle() { return u"ＴＡＰＰＥＲ新記録の足跡"_s; }

Tfrm3DGraph::Tfrm3DGraph(SettingsFile* settings, Input input, QWidget* parent, ErrorReporter reporter)
    : Tfrm3DGraph(
          settings ? ChartOptions::load(*settings, screenEnvironment()) : ChartOptions::defaults(screenEnvironment()),
          std::move(input), {}, parent, std::move(reporter)) {
  if (settings) setSaver([settings](const ChartOptions& options) { return settings->keep(options); });
}

Tfrm3DGraph::Tfrm3DGraph(ChartOptions options, Input input, OptionsSaver saver, QWidget* parent, ErrorReporter reporter)
    : SideWindowOf(Opening::Stored, options, std::move(saver), HelpContext, std::move(reporter), parent),
      input_(std::move(input)) {
  setObjectName(u"frm3DGraph"_s);
  setSizeGripEnabled(true);
  setWindowTitle(u"TAPPERの足跡32"_s);
  QFont windowFont(u"ＭＳ Ｐゴシック"_s);
  windowFont.setPixelSize(12);
  setFont(windowFont);
  resize(DesignWidth, DesignHeight);

  buildToolBar();
  buildChart();

  TrackBar1 = new QSlider(Qt::Horizontal, this);
  TrackBar1->setObjectName(u"TrackBar1"_s);
  TrackBar1->setSingleStep(1);
  TrackBar1->setPageStep(1);
  TrackBar1->setTickInterval(1);
  TrackBar1->setTickPosition(QSlider::TicksAbove);
  TrackBar1->setRange(0, 10);
  TrackBar1->setValue(0);
  TrackBar1->setFixedHeight(TrackBarHeight);
  connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });

  btUndoZoom = new QPushButton(u"元に戻す(&U)"_s, this);
  btUndoZoom->setObjectName(u"btUndoZoom"_s);
  btUndoZoom->setGeometry(8, 0, 75, 18);  // the caption alone fills it: no room for a picture
  btUndoZoom->hide();
  connect(btUndoZoom, &QPushButton::clicked, this, &Tfrm3DGraph::btUndoZoomClick);

  FormCreate(options);
  FormResize();
}

void Tfrm3DGraph::buildToolBar() {
  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(u"ToolBar1"_s);
  ToolBar1->setIconSize(QSize(ChartIcons::Size, ChartIcons::Size));
  ToolBar1->setFixedHeight(ToolBarHeight);
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  // The boxes take the tool bar's whole height: within the style's item
  // margins a 22-pixel bar leaves too little for their text.
  ToolBar1->layout()->setContentsMargins(0, 0, 0, 0);

  coBarStyle = new QComboBox(ToolBar1);
  coBarStyle->setObjectName(u"coBarStyle"_s);
  coBarStyle->setFixedWidth(113);
  coBarStyle->setToolTip(u"グラフのスタイル"_s);
  coBarStyle->addItems(
      {u"直方体"_s, u"ｸﾞﾗﾃﾞｨｴｰｼｮﾝ"_s, u"ピラミッド"_s, u"逆ピラミッド"_s, u"円柱"_s, u"楕円"_s, u"矢印"_s});
  connect(coBarStyle, &QComboBox::currentIndexChanged, this, [this] { coBarStyleChange(); });
  ToolBar1->addWidget(coBarStyle);
  ToolBar1->addSeparator();

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(u"PopupMenu1"_s);
  const auto option = [this](const QString& name, const QString& caption, void (Tfrm3DGraph::*apply)(bool)) {
    QAction* item = PopupMenu1->addAction(caption);
    item->setObjectName(name);
    item->setCheckable(true);
    item->setChecked(true);
    connect(item, &QAction::toggled, this, apply);
    return item;
  };
  cbLegend = option(u"cbLegend"_s, u"凡例(&L)"_s, &Tfrm3DGraph::applyLegend);
  cb3D = option(u"cb3D"_s, u"3&D"_s, &Tfrm3DGraph::apply3D);
  cbMarker = option(u"cbMarker"_s, u"値(&M)"_s, &Tfrm3DGraph::setMarksVisible);

  ToolButton4 = new QToolButton(ToolBar1);
  ToolButton4->setObjectName(u"ToolButton4"_s);
  ToolButton4->setToolTip(u"表示ｵﾌﾟｼｮﾝ設定"_s);
  ToolButton4->setIcon(ChartIcons::options());
  ToolButton4->setMenu(PopupMenu1);
  ToolButton4->setPopupMode(QToolButton::MenuButtonPopup);
  ToolBar1->addWidget(ToolButton4);
  ToolBar1->addSeparator();

  const auto button = [this](const QString& name, const QString& hint, const QPixmap& icon,
                             void (Tfrm3DGraph::*handler)()) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setIcon(icon);
    b->setAutoRaise(true);
    connect(b, &QToolButton::clicked, this, handler);
    ToolBar1->addWidget(b);
    return b;
  };
  btFirst = button(u"btFirst"_s, u"最初のページ"_s, ChartIcons::first(), &Tfrm3DGraph::btFirstClick);
  btPrev = button(u"btPrev"_s, u"前のページ"_s, ChartIcons::previous(), &Tfrm3DGraph::btPrevClick);
  btNext = button(u"btNext"_s, u"次のページ"_s, ChartIcons::next(), &Tfrm3DGraph::btNextClick);
  btLast = button(u"btLast"_s, u"最後のページ"_s, ChartIcons::last(), &Tfrm3DGraph::btLastClick);
  ToolBar1->addSeparator();

  SpinEdit1 = new QSpinBox(ToolBar1);
  SpinEdit1->setObjectName(u"SpinEdit1"_s);
  SpinEdit1->setRange(SpinMinimum, SpinMaximum);
  // The design width, or what the style needs to show the largest value whole.
  SpinEdit1->setFixedWidth(std::max(42, SpinEdit1->minimumSizeHint().width()));
  SpinEdit1->setValue(DesignPointsPerPage);
  SpinEdit1->setToolTip(u"１ページ当たりポイント数"_s);
  connect(SpinEdit1, &QSpinBox::textChanged, this, [this] { SpinEdit1Change(); });
  spinEditAction_ = ToolBar1->addWidget(SpinEdit1);
  ToolBar1->addSeparator();

  btClose = button(u"btClose"_s, u"閉じる"_s, ChartIcons::close(), &Tfrm3DGraph::btCloseClick);
}

void Tfrm3DGraph::buildChart() {
  MinChart = new Chart3DView(this);
  MinChart->setObjectName(u"MinChart"_s);
  chart3d::ChartModel& chart = MinChart->model();
  chart3d::ChartAppearance& look = chart.appearance();
  look.titleLines = QStringList{designTitle()};
  look.titleFontFamily = u"ＭＳ 明朝"_s;
  look.titlePixelSize = 16;
  look.titleBold = true;
  look.titleColour = chart3d::Red;
  look.legendVisible = true;
  look.view3D = true;
  look.depthPercent = 20;
  look.gradientBackground = true;
  look.bottomWall = chart3d::White;
  look.leftWall = chart3d::LightYellow;
  look.hint = u"矩形に左ドラッグすればその部分を拡大表示できます。"_s;
  HitSeries = chart.addSeries(barSeries(u"HIT"_s, chart3d::Blue, -19));
  MissSeries = chart.addSeries(barSeries(u"MISS"_s, chart3d::Red, 3));
  chart.setMaxPointsPerPage(DesignPointsPerPage);
  connect(MinChart, &Chart3DView::pageChanged, this, &Tfrm3DGraph::MinChartPageChange);
  connect(MinChart, &Chart3DView::zoomed, this, &Tfrm3DGraph::MinChartZoom);
  connect(MinChart, &Chart3DView::undoZoomed, this, &Tfrm3DGraph::MinChartUndoZoom);
}

// ---------------------------------------------------------------------------
// Creation and closing

void Tfrm3DGraph::FormCreate(const ChartOptions& options) {
  placeAtStoredPlace();

  cbMarker->setChecked(options.marker);
  cbLegend->setChecked(options.legend);
  cb3D->setChecked(options.threeD);
  {
    const QSignalBlocker quiet(coBarStyle);
    coBarStyle->setCurrentIndex(options.barStyle >= 0 && options.barStyle < BarStyleCount ? options.barStyle : -1);
  }
  try {
    MinChart->model().setMaxPointsPerPage(options.maxPointsPerPage);
  } catch (const std::invalid_argument& error) {
    reportError(QString::fromUtf8(error.what()));
    return;  // the window opens without data
  }

  applyPagingLayout();

  BarStyleSet();
  applyLegend(cbLegend->isChecked());
  setMarksVisible(cbMarker->isChecked());
  apply3D(cb3D->isChecked());

  RecordAdd();

  chart3d::ChartModel& chart = MinChart->model();
  const int points = PointCount - 1;
  if (chart.maxPointsPerPage() < points) {
    setSpinValue(chart.maxPointsPerPage());
    const int perPage = chart.maxPointsPerPage();
    {
      const QSignalBlocker quiet(TrackBar1);
      TrackBar1->setMaximum(points - perPage);
      TrackBar1->setValue(TrackBar1->maximum());
    }
    chart.setBottomAxisMaximum(perPage - 1);
    chart.scrollBottomAxis(TrackBar1->value());
    LastPosition = TrackBar1->value();
  } else {
    TrackBar1->hide();
    setChartHeight(height() - ToolBarHeight);
    chart.setBottomAxisMaximum(chart.maxPointsPerPage() - 1);
    setSpinValue(chart.maxPointsPerPage());
  }
  MinChartPageChange();
}

void Tfrm3DGraph::FormClose() {
  if (settingsWritten_) return;
  settingsWritten_ = true;
  keep();
}

ChartOptions Tfrm3DGraph::ownOptions() const {
  ChartOptions o;
  o.marker = cbMarker->isChecked();
  o.legend = cbLegend->isChecked();
  o.threeD = cb3D->isChecked();
  o.barStyle = coBarStyle->currentIndex();
  o.maxPointsPerPage = MinChart->model().maxPointsPerPage();
  return o;
}

void Tfrm3DGraph::showEvent(QShowEvent* event) {
  settingsWritten_ = false;
  SideWindow::showEvent(event);
}

void Tfrm3DGraph::closeEvent(QCloseEvent* event) {
  QDialog::closeEvent(event);
  if (event->isAccepted()) FormClose();
}

void Tfrm3DGraph::done(int result) {
  FormClose();
  QDialog::done(result);
}

void Tfrm3DGraph::btCloseClick() { close(); }

// ---------------------------------------------------------------------------
// Layout

bool Tfrm3DGraph::pagingLayout() const { return MinChart->model().maxPointsPerPage() < PointCount - 1; }

void Tfrm3DGraph::setChartHeight(int height) { MinChart->setGeometry(0, ToolBarHeight, width(), std::max(height, 0)); }

void Tfrm3DGraph::applyPagingLayout() {
  setChartHeight(height() - TrackBarHeight - ToolBarHeight - 2);
  TrackBar1->setGeometry(0, height() - TrackBarHeight - 1, width(), TrackBarHeight);
  TrackBar1->show();
  btUndoZoom->move(8, ToolBarHeight + MinChart->height() + 3);
}

void Tfrm3DGraph::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (MinChart) FormResize();
}

void Tfrm3DGraph::FormResize() {
  ToolBar1->setGeometry(0, 0, width(), ToolBarHeight);
  if (pagingLayout())
    setChartHeight(height() - TrackBarHeight - ToolBarHeight - 2);
  else if (MinChart->model().isZoomed())
    setChartHeight(height() - ToolBarHeight - TrackBarHeight);
  else
    setChartHeight(height() - ToolBarHeight);
  TrackBar1->setGeometry(0, height() - TrackBarHeight - 1, width(), TrackBarHeight);
  btUndoZoom->move(8, height() - TrackBarHeight + 1);
}

// ---------------------------------------------------------------------------
// The points

void Tfrm3DGraph::RecordAdd() {
  chart3d::ChartModel& chart = MinChart->model();
  chart.clear(HitSeries);
  chart.clear(MissSeries);
  if (!input_.points) {
    refreshChart();
    return;
  }
  const ChartPoints* points = &*input_.points;
  const QString* title = &input_.title;
  for (const ChartPoint& point : *points) {
    chart.add(HitSeries, point.hits, point.label);
    chart.add(MissSeries, point.misses, QString());
  }
  PointCount = static_cast<int>(points->size()) + 1;
  chart.setTitleLine(0, *title);
  refreshChart();
}

void Tfrm3DGraph::refreshChart() { MinChart->update(); }

// ---------------------------------------------------------------------------
// Options

void Tfrm3DGraph::BarStyleSet() {
  const int index = coBarStyle->currentIndex();
  if (index < 0 || index >= BarStyleCount) return;
  const auto style = static_cast<chart3d::BarStyle>(index);
  MinChart->model().setBarStyle(HitSeries, style);
  MinChart->model().setBarStyle(MissSeries, style);
  refreshChart();
}

void Tfrm3DGraph::coBarStyleChange() { BarStyleSet(); }

void Tfrm3DGraph::cbLegendClick() { cbLegend->toggle(); }
void Tfrm3DGraph::cb3DClick() { cb3D->toggle(); }
void Tfrm3DGraph::cbMarkerClick() { cbMarker->toggle(); }

void Tfrm3DGraph::applyLegend(bool visible) {
  MinChart->model().appearance().legendVisible = visible;
  refreshChart();
}

void Tfrm3DGraph::apply3D(bool on) {
  MinChart->model().appearance().view3D = on;
  refreshChart();
}

void Tfrm3DGraph::setMarksVisible(bool visible) {
  MinChart->model().setMarksVisible(HitSeries, visible);
  MinChart->model().setMarksVisible(MissSeries, visible);
  refreshChart();
}

// ---------------------------------------------------------------------------
// Moving over the points

void Tfrm3DGraph::setTrackPosition(int position) {
  const QSignalBlocker quiet(TrackBar1);
  TrackBar1->setValue(position);
}

void Tfrm3DGraph::setSpinValue(int value) { SpinEdit1->setValue(std::clamp(value, SpinMinimum, SpinMaximum)); }

void Tfrm3DGraph::TrackBar1Change() {
  const int position = TrackBar1->value();
  MinChart->model().scrollBottomAxis(position - LastPosition);
  LastPosition = position;
  MinChartPageChange();
}

void Tfrm3DGraph::btFirstClick() {
  setTrackPosition(0);
  TrackBar1Change();
}

void Tfrm3DGraph::btLastClick() {
  setTrackPosition(TrackBar1->maximum());
  TrackBar1Change();
}

void Tfrm3DGraph::btPrevClick() {
  MinChart->model().previousPage();
  setTrackPosition(std::clamp(TrackBar1->value() - MinChart->model().maxPointsPerPage(), 0, TrackBar1->maximum()));
  TrackBar1Change();
}

void Tfrm3DGraph::btNextClick() {
  MinChart->model().nextPage();
  setTrackPosition(std::clamp(TrackBar1->value() + MinChart->model().maxPointsPerPage(), 0, TrackBar1->maximum()));
  TrackBar1Change();
}

void Tfrm3DGraph::SpinEdit1Change() {
  if (!TrackBar1->isHidden()) {
    setTrackPosition(0);
    LastPosition = 0;
  }
  chart3d::ChartModel& chart = MinChart->model();
  const int perPage = SpinEdit1->value();
  chart.setMaxPointsPerPage(perPage);
  chart.setBottomAxisRange({0, double(perPage - 1)});
  const int points = PointCount - 1;
  if (perPage < points) {
    {
      const QSignalBlocker quiet(TrackBar1);
      TrackBar1->setMaximum(points - perPage);
    }
    applyPagingLayout();
  } else {
    TrackBar1->hide();
    setChartHeight(height() - ToolBarHeight);
  }
  MinChartPageChange();
}

// ---------------------------------------------------------------------------
// Refresh and zoom

void Tfrm3DGraph::MinChartPageChange() {
  MinChart->undoZoom();  // raises undoZoomed: MinChartUndoZoom sets the controls
  refreshChart();
}

void Tfrm3DGraph::setPageButtonsEnabled(bool enabled) {
  for (QToolButton* button : {btFirst, btPrev, btNext, btLast}) button->setEnabled(enabled);
}

void Tfrm3DGraph::MinChartUndoZoom() {
  spinEditAction_->setVisible(true);
  if (pagingLayout())
    TrackBar1->show();
  else
    setChartHeight(height() - ToolBarHeight);
  btUndoZoom->hide();
  setPageButtonsEnabled(true);
  if (TrackBar1->isHidden()) {
    setPageButtonsEnabled(false);
    return;
  }
  const bool atStart = TrackBar1->value() == 0;
  const bool atEnd = TrackBar1->value() == TrackBar1->maximum();
  btFirst->setEnabled(!atStart);
  btPrev->setEnabled(!atStart);
  btNext->setEnabled(!atEnd);
  btLast->setEnabled(!atEnd);
}

void Tfrm3DGraph::MinChartZoom() {
  if (pagingLayout())
    TrackBar1->hide();
  else
    setChartHeight(height() - ToolBarHeight - TrackBarHeight);
  btUndoZoom->show();
  btUndoZoom->raise();
  setPageButtonsEnabled(false);
  spinEditAction_->setVisible(false);
}

void Tfrm3DGraph::btUndoZoomClick() { MinChart->undoZoom(); }
