// The views on a million runs with and without an era: per iteration the runs
// in view are picked anew (the era is switched off and on again), then the
// mode pass, the averages and the five panes' lines. "runs_in_view" says how
// many runs the views counted.
//
// - none: no era, the store itself.
// - every day: an era from before the first run; the runs lie in one stretch.
// - every day, copied: the same era over a file with one older line in its
//   middle, so that the era's runs are copied out of the store.
// - the newest half: an era from the middle day on.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <string>

#include "MillionRuns.h"
#include "records/LoadFeedback.h"
#include "settings/SettingsFile.h"
#include "tools/RecordFileGenerator.h"
#include "viewer/ViewerCore.h"

using namespace Qt::StringLiterals;

namespace {

enum Era { NoEra, EveryDay, EveryDayCopied, NewestHalf };

// A viewer core that loaded a record file (settings and data file beside it).
struct LoadedViewer {
  explicit LoadedViewer(const QString& recordPath, const QString& settingsPath) : settings(settingsPath) {
    loaded = viewer.load(recordPath) == LoadOutcome::Loaded;
  }
  SettingsFile settings;
  SilentFeedback quiet;
  ViewerCore viewer{settings, quiet};
  bool loaded = false;
};

LoadedViewer& sortedViewer() {
  MillionRuns& files = MillionRuns::instance();
  static LoadedViewer viewer(files.recordPath(), files.settingsPath());
  return viewer;
}

// The million runs' file with a line of 1990 after its first half.
LoadedViewer& unsortedViewer() {
  static QTemporaryDir dir;
  static const std::unique_ptr<LoadedViewer> viewer = [] {
    QFile whole(MillionRuns::instance().recordPath());
    whole.open(QIODevice::ReadOnly);
    QByteArray bytes = whole.readAll();
    GeneratedRun old;
    old.date = {1990, 1, 1};
    old.hits = 100;
    bytes.insert(MillionRuns::Runs / 2 * 46, QByteArray::fromStdString(formatRecordLine(old)));
    const QString path = dir.filePath(u"unsorted.ｷﾛｸ"_s);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();
    return std::make_unique<LoadedViewer>(path, dir.filePath(u"hoko32.ini"_s));
  }();
  return *viewer;
}

void BM_ViewsInEra(benchmark::State& state) {
  const auto era = static_cast<Era>(state.range(0));
  LoadedViewer& loaded = era == EveryDayCopied ? unsortedViewer() : sortedViewer();
  if (!loaded.loaded) {
    state.SkipWithError("the load failed");
    return;
  }
  ViewerCore& viewer = loaded.viewer;
  ViewSettings without = viewer.settings();
  without.mode = ModeRomaji;
  without.eraFrom = without.eraTo = {};
  ViewSettings with = without;
  const auto& store = viewer.records().RecordStore;
  const PracticeRecord& middle = store[store.size() / 2];
  if (era == EveryDay || era == EveryDayCopied) with.eraFrom = QDate(1980, 1, 1);
  if (era == NewestHalf) with.eraFrom = QDate(middle.Year, middle.Month, middle.Day);
  for (auto _ : state) {
    viewer.setSettings(without);
    viewer.setSettings(with);
    viewer.recalculateRecords();
    viewer.recalculateAverages();
    for (const ViewInfo& info : Views) benchmark::DoNotOptimize(viewer.paneLines(info.view));
  }
  state.counters["runs_in_view"] = static_cast<double>(viewer.runsInView().runs.size());
}
BENCHMARK(BM_ViewsInEra)
    ->ArgName("era")
    ->Arg(NoEra)
    ->Arg(EveryDay)
    ->Arg(EveryDayCopied)
    ->Arg(NewestHalf)
    ->Unit(benchmark::kMillisecond);

}  // namespace
