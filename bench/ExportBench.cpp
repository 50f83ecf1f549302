// The report tool's run list on a million loaded runs, written as the tool
// writes it to a device that keeps nothing: the text of --runs, the CSV export
// of the same runs (UTF-8 and Shift-JIS) and the JSON document of every run.
#include <benchmark/benchmark.h>

#include <QIODevice>

#include "MillionRuns.h"
#include "settings/SettingsFile.h"
#include "viewer/ExportOutput.h"
#include "viewer/OutputWriter.h"
#include "viewer/ViewExport.h"
#include "viewer/ViewerCore.h"

namespace {

// Counts the bytes written to it and keeps none.
class Nowhere : public QIODevice {
 public:
  Nowhere() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
  bool isSequential() const override { return true; }
  qint64 written = 0;

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char*, qint64 size) override {
    written += size;
    return size;
  }
};

// Runs `write` on a device that keeps nothing; the bytes written per second.
template <typename Write>
void toNowhere(benchmark::State& state, Write write) {
  Nowhere nowhere;
  for (auto _ : state) {
    if (!write(nowhere)) {
      state.SkipWithError("the export failed");
      return;
    }
  }
  state.SetBytesProcessed(nowhere.written);
}

void BM_RunsText(benchmark::State& state) {
  const LoadedRecords& loaded = MillionRuns::instance().loaded();
  toNowhere(state, [&loaded](QIODevice& device) {
    ExportOutput out(device);
    writeRunsText(out, {loaded.AllRecords.data(), loaded.AllRecords.size()});
    return out.flush();
  });
}
BENCHMARK(BM_RunsText)->Unit(benchmark::kMillisecond);

void BM_RunsCsv(benchmark::State& state) {
  const LoadedRecords& loaded = MillionRuns::instance().loaded();
  const auto encoding = static_cast<TextEncoding>(state.range(0));
  toNowhere(state, [&](QIODevice& device) {
    return ViewExport::writeRunsCsv(device, {loaded.AllRecords.data(), loaded.AllRecords.size()}, encoding).written();
  });
}
BENCHMARK(BM_RunsCsv)
    ->ArgName("sjis")
    ->Arg(static_cast<int>(TextEncoding::Utf8))
    ->Arg(static_cast<int>(TextEncoding::ShiftJis))
    ->Unit(benchmark::kMillisecond);

// The document of `hoko32-report --format json --runs --view miss`.
void BM_RunsJson(benchmark::State& state) {
  MillionRuns& files = MillionRuns::instance();
  SettingsFile settings(files.settingsPath());
  SilentFeedback feedback;
  ViewerCore viewer(settings, feedback);
  if (viewer.load(files.recordPath()) != LoadOutcome::Loaded) {
    state.SkipWithError("the load failed");
    return;
  }
  viewer.recalculate(ViewMiss);
  toNowhere(state, [&viewer](QIODevice& device) {
    return ViewExport::writeJson(device, viewer, {ViewMiss}, true, QStringLiteral("million.ｷﾛｸ")).written();
  });
}
BENCHMARK(BM_RunsJson)->Unit(benchmark::kMillisecond);

}  // namespace
