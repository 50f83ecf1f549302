// The main window: start-up on the bundled sample up to the first painted
// window, and on a million runs a mode switch, a tab change and the block
// average of single runs, each until its pane is filled and painted.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include "MillionRuns.h"
#include "calendar/PracticeCalendarWindow.h"
#include "chart3d/Chart3DView.h"
#include "chart3d/Tfrm3DGraph.h"
#include "progress/ProgressChartView.h"
#include "progress/ProgressWindow.h"
#include "settings/SettingsFile.h"
#include "tools/RecordFileGenerator.h"
#include "ui/FontNames.h"
#include "ui/MessageBoxes.h"
#include "ui/TfrmMain.h"
#include "viewer/RecordFileWatcher.h"

using namespace Qt::StringLiterals;

namespace {

void paint(QWidget& window) {
  window.repaint();
  QCoreApplication::processEvents();
}

QTabWidget& pagesOf(TfrmMain& window) { return *window.findChild<QTabWidget*>(u"PageControl1"_s); }

template <typename Widget>
Widget& named(TfrmMain& window, const QString& name) {
  return *window.findChild<Widget*>(name);
}

StartupContext contextFor(const QString& recordFile, const QString& settingsPath) {
  return {settingsPath, QDir::tempPath() + u'/', QDir::tempPath(), {recordFile, u"R"_s}};
}

void BM_StartupOnTheSample(benchmark::State& state) {
  QTemporaryDir dir;
  const QString record = dir.filePath(u"sample.ｷﾛｸ"_s);
  QFile::copy(QStringLiteral(HOKO32_SAMPLE_FILE), record);
  const QString settings = dir.filePath(u"hoko32.ini"_s);
  { TfrmMain warmUp(contextFor(record, settings)); }  // writes the data file once
  for (auto _ : state) {
    TfrmMain window(contextFor(record, settings));
    window.createLongLivedDialogs();
    window.show();
    paint(window);
  }
}
BENCHMARK(BM_StartupOnTheSample)->Unit(benchmark::kMillisecond);

// A window on the million runs, loaded once from their data file.
TfrmMain& millionWindow() {
  static TfrmMain* window = [] {
    // Blocks of single runs for the count period.
    SettingsFile(MillionRuns::instance().settingsPath()).writeInteger(u"Option"_s, u"CountInterval"_s, 1);
    auto* w = new TfrmMain(contextFor(MillionRuns::instance().recordPath(), MillionRuns::instance().settingsPath()));
    w->createLongLivedDialogs();
    w->resize(1000, 700);
    w->show();
    return w;
  }();
  return *window;
}

void BM_ModeSwitchOnAMillionRuns(benchmark::State& state) {
  TfrmMain& window = millionWindow();
  pagesOf(window).setCurrentIndex(ViewHistory);
  const QString modeButtons[] = {u"ButtonA"_s, u"ButtonK"_s, u"ButtonR"_s, u"ButtonE"_s};
  int mode = 0;
  for (auto _ : state) {
    named<QToolButton>(window, modeButtons[mode++ % PracticeModeCount]).click();
    paint(window);
  }
}
BENCHMARK(BM_ModeSwitchOnAMillionRuns)->Unit(benchmark::kMillisecond);

void BM_AverageTabOnAMillionRuns(benchmark::State& state) {
  TfrmMain& window = millionWindow();
  for (auto _ : state) {
    pagesOf(window).setCurrentIndex(ViewHistory);
    named<QPlainTextEdit>(window, u"Memo3"_s).clear();
    pagesOf(window).setCurrentIndex(ViewAverage);  // recomputes the empty pane
    paint(window);
  }
}
BENCHMARK(BM_AverageTabOnAMillionRuns)->Unit(benchmark::kMillisecond);

void BM_SingleRunBlocksOnAMillionRuns(benchmark::State& state) {
  TfrmMain& window = millionWindow();
  pagesOf(window).setCurrentIndex(ViewAverage);
  for (auto _ : state) {
    named<QToolButton>(window, u"ButtonCount"_s).click();
    paint(window);
  }
  state.counters["lines"] = named<QPlainTextEdit>(window, u"Memo3"_s).blockCount();
}
BENCHMARK(BM_SingleRunBlocksOnAMillionRuns)->Unit(benchmark::kMillisecond)->Iterations(2);

// The 3D chart on the day averages of a million runs (about 11,000 points):
// moving a page back or forward and repainting.
void BM_ChartPageMoveOnElevenThousandPoints(benchmark::State& state) {
  TfrmMain& window = millionWindow();
  pagesOf(window).setCurrentIndex(ViewAverage);
  named<QToolButton>(window, u"ButtonDay"_s).click();
  Tfrm3DGraph chart(window.settingsFile(), window.session().chartInput(ViewAverage), &window);
  chart.resize(900, 560);
  chart.show();
  QCoreApplication::processEvents();
  bool back = true;
  for (auto _ : state) {
    if (back)
      chart.btPrevClick();
    else
      chart.btNextClick();
    back = !back;
    chart.MinChart->repaint();
  }
  state.counters["points"] = static_cast<double>(window.session().core().averages().AveragePoints.size());
  chart.close();
}
BENCHMARK(BM_ChartPageMoveOnElevenThousandPoints)->Unit(benchmark::kMillisecond);

// TAPPER appends one run to the million-run file while the viewer shows the
// history: the time from the file watch's signal to the repainted window (the
// appended tail read, the data file and the stored size brought up to date,
// the mode pass and the panes).
void BM_LiveReloadOfOneRunOnAMillionRuns(benchmark::State& state) {
  TfrmMain& window = millionWindow();
  named<QToolButton>(window, u"ButtonR"_s).click();  // the appended runs' mode
  pagesOf(window).setCurrentIndex(ViewHistory);
  auto* watcher = window.findChild<RecordFileWatcher*>();
  QFile record(MillionRuns::instance().recordPath());
  if (!record.open(QIODevice::Append)) state.SkipWithError("the record file cannot be appended to");
  GeneratedRun run;
  run.date = {2030, 1, 1};
  int minute = 0;
  for (auto _ : state) {
    state.PauseTiming();
    run.time = {minute / 60 % 24, minute % 60, 0};
    run.hits = 100 + minute % 200;
    ++minute;
    const std::string line = formatRecordLine(run);
    record.write(line.data(), static_cast<qint64>(line.size()));
    record.flush();
    state.ResumeTiming();
    Q_EMIT watcher->grown(false);
    paint(window);
  }
  state.counters["runs"] = static_cast<double>(window.session().core().records().AllRecords.size());
  watcher->stop();  // no later reload in another benchmark
}
BENCHMARK(BM_LiveReloadOfOneRunOnAMillionRuns)->Unit(benchmark::kMillisecond);

// The practice calendar on the million runs: made, given the runs (the days
// grouped, the streaks found), shown and painted; for the mode shown and for
// every mode. Then a repaint of the whole window.
void BM_CalendarOpenOnAMillionRuns(benchmark::State& state) {
  TfrmMain& window = millionWindow();
  const LoadedRecords& records = window.session().core().records();
  const std::span<const PracticeRecord* const> runs(records.AllRecords.data(), records.AllRecords.size());
  SettingsFile settings(MillionRuns::instance().settingsPath());
  settings.writeBool(u"Calendar"_s, u"AllModes"_s, state.range(0) != 0);
  for (auto _ : state) {
    PracticeCalendarWindow calendar(&settings, &window);
    calendar.resize(900, 640);
    calendar.show();
    calendar.setRuns(runs, ModeRomaji, QDate::currentDate());
    paint(calendar);
    state.PauseTiming();
    calendar.hide();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CalendarOpenOnAMillionRuns)->Arg(0)->Arg(1)->ArgName("allModes")->Unit(benchmark::kMillisecond);

void BM_CalendarRepaintOnAMillionRuns(benchmark::State& state) {
  TfrmMain& window = millionWindow();
  const LoadedRecords& records = window.session().core().records();
  PracticeCalendarWindow calendar(nullptr, &window);
  calendar.resize(900, 640);
  calendar.show();
  calendar.setRuns(std::span<const PracticeRecord* const>(records.AllRecords.data(), records.AllRecords.size()),
                   ModeRomaji, QDate::currentDate());
  paint(calendar);
  for (auto _ : state) calendar.repaint();
  state.counters["days"] = static_cast<double>(calendar.calendar().practiceDays());
}
BENCHMARK(BM_CalendarRepaintOnAMillionRuns)->Unit(benchmark::kMillisecond);

// The progress chart on the million runs: the window made, given the runs of
// one mode (250,000) or of every mode (1,000,000), shown and painted.
void BM_ProgressOpenOnAMillionRuns(benchmark::State& state) {
  TfrmMain& window = millionWindow();
  const LoadedRecords& records = window.session().core().records();
  const std::span<const PracticeRecord* const> runs(records.AllRecords.data(), records.AllRecords.size());
  const auto mode = static_cast<PracticeMode>(state.range(0) != 0 ? PracticeModeCount : ModeRomaji);
  for (auto _ : state) {
    ProgressWindow progress(ProgressOptions{}, {}, &window);
    progress.resize(1000, 640);
    progress.show();
    progress.setRuns(runs, mode, false, QDate::currentDate());
    paint(progress);
    state.PauseTiming();
    progress.hide();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ProgressOpenOnAMillionRuns)->Arg(0)->Arg(1)->ArgName("allModes")->Unit(benchmark::kMillisecond);

// Ctrl+P on the main window of a million runs up to the painted chart, as the
// typist meets it at every press but the first (BM_ProgressOpenOnAMillionRuns
// makes the window each time): the hidden window shown again and given the
// runs of the main window's mode (250,000) or, with すべてのモード checked, of
// every mode (1,000,000).
void BM_ProgressKeyToPaintOnAMillionRuns(benchmark::State& state) {
  TfrmMain& window = millionWindow();
  named<QToolButton>(window, u"ButtonR"_s).click();
  QAction* key = window.findChild<QAction*>(u"Progress1"_s);
  key->trigger();
  auto* progress = window.findChild<ProgressWindow*>(u"frmProgress"_s);
  progress->resize(1000, 640);
  progress->findChild<QCheckBox*>(u"cbAllModes"_s)->setChecked(state.range(0) != 0);
  progress->hide();
  for (auto _ : state) {
    key->trigger();
    paint(*progress);
    state.PauseTiming();
    progress->hide();
    state.ResumeTiming();
  }
  state.counters["runs"] = progress->figures().runs;
}
BENCHMARK(BM_ProgressKeyToPaintOnAMillionRuns)->Arg(0)->Arg(1)->ArgName("allModes")->Unit(benchmark::kMillisecond);

// A repaint of the chart of a million runs into a picture after the range
// moved (so no column is kept from the paint before): the whole range, and
// zoomed to a tenth of it and panned by a pixel or so each time.
void BM_ProgressRepaintOnAMillionRuns(benchmark::State& state) {
  const LoadedRecords& records = millionWindow().session().core().records();
  const std::vector<ProgressRun> runs = ProgressSeries::runsOf(
      std::span<const PracticeRecord* const>(records.AllRecords.data(), records.AllRecords.size()), std::nullopt,
      false);
  ProgressChartView chart;
  chart.resize(1000, 600);
  chart.setPoints(ProgressSeries::points(runs, 10), 10);
  const auto whole = chart.wholeRange();
  const double span = (whole.to - whole.from) / (state.range(0) != 0 ? 10 : 1);
  const double from = (whole.from + whole.to - span) / 2;
  // Two ranges a pixel or so apart: the whole range and one a little narrower, or a tenth and the same moved.
  const ProgressChartView::TimeRange ranges[] = {
      {from, from + span},
      state.range(0) != 0 ? ProgressChartView::TimeRange{from + span / 1000, from + span * 1.001}
                          : ProgressChartView::TimeRange{from, from + span * 0.999}};
  QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
  int step = 0;
  for (auto _ : state) {
    chart.setVisibleRange(ranges[step++ % 2]);
    QPainter painter(&image);
    chart.paintChart(painter, image.rect());
  }
  state.counters["runs"] = static_cast<double>(runs.size());
}
BENCHMARK(BM_ProgressRepaintOnAMillionRuns)->Arg(0)->Arg(1)->ArgName("zoomed")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  FontNames::installSubstitutions();
  MessageBoxes::setHandler([](const QString&) {});
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
