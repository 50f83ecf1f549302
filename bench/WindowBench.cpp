// The main window: start-up on the bundled sample up to the first painted
// window, and on a million runs a mode switch, a tab change and the block
// average of single runs, each until its pane is filled and painted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>

#include "MillionRuns.h"
#include "chart3d/Chart3DView.h"
#include "chart3d/Tfrm3DGraph.h"
#include "ui/FontNames.h"
#include "ui/MessageBoxes.h"
#include "ui/TfrmMain.h"

using namespace Qt::StringLiterals;

namespace {

void paint(QWidget& window) {
  window.repaint();
  QCoreApplication::processEvents();
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
  window.PageControl1->setCurrentIndex(TfrmMain::ViewHistory);
  int mode = 0;
  for (auto _ : state) {
    window.ButtonAClick(mode++ % PracticeModeCount);
    paint(window);
  }
}
BENCHMARK(BM_ModeSwitchOnAMillionRuns)->Unit(benchmark::kMillisecond);

void BM_AverageTabOnAMillionRuns(benchmark::State& state) {
  TfrmMain& window = millionWindow();
  for (auto _ : state) {
    window.PageControl1->setCurrentIndex(TfrmMain::ViewHistory);
    window.Memos[TfrmMain::ViewAverage]->clear();
    window.PageControl1->setCurrentIndex(TfrmMain::ViewAverage);  // recomputes the empty pane
    paint(window);
  }
}
BENCHMARK(BM_AverageTabOnAMillionRuns)->Unit(benchmark::kMillisecond);

void BM_SingleRunBlocksOnAMillionRuns(benchmark::State& state) {
  TfrmMain& window = millionWindow();
  window.PageControl1->setCurrentIndex(TfrmMain::ViewAverage);
  window.AverCountInterval = 1;
  for (auto _ : state) {
    window.ButtonDayClick(5);
    paint(window);
  }
  state.counters["lines"] = window.Memos[TfrmMain::ViewAverage]->blockCount();
}
BENCHMARK(BM_SingleRunBlocksOnAMillionRuns)->Unit(benchmark::kMillisecond)->Iterations(2);

// The 3D chart on the day averages of a million runs (about 11,000 points):
// moving a page back or forward and repainting.
void BM_ChartPageMoveOnElevenThousandPoints(benchmark::State& state) {
  TfrmMain& window = millionWindow();
  window.PageControl1->setCurrentIndex(TfrmMain::ViewAverage);
  window.ButtonDayClick(1);
  Tfrm3DGraph chart(window.Settings(), window.chartInput(), &window);
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
  state.counters["points"] = static_cast<double>(window.Average.AveragePoints.size());
  chart.close();
}
BENCHMARK(BM_ChartPageMoveOnElevenThousandPoints)->Unit(benchmark::kMillisecond);

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
