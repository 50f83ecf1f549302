// The report tool's run list on a million loaded runs: the text of --runs
// against the CSV export of the same runs (UTF-8 and Shift-JIS).
#include <benchmark/benchmark.h>

#include "MillionRuns.h"
#include "app/ReportTool.h"
#include "viewer/ViewExport.h"

namespace {

void BM_RunsText(benchmark::State& state) {
  const LoadedRecords& loaded = MillionRuns::instance().loaded();
  qsizetype size = 0;
  for (auto _ : state) {
    const QByteArray bytes = runsText(loaded).toUtf8();  // as the tool writes it
    size = bytes.size();
    benchmark::DoNotOptimize(bytes.constData());
  }
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_RunsText)->Unit(benchmark::kMillisecond);

void BM_RunsCsv(benchmark::State& state) {
  const LoadedRecords& loaded = MillionRuns::instance().loaded();
  const auto encoding = static_cast<TextEncoding>(state.range(0));
  qsizetype size = 0;
  for (auto _ : state) {
    const QByteArray bytes = ViewExport::runsCsv(loaded, encoding);
    size = bytes.size();
    benchmark::DoNotOptimize(bytes.constData());
  }
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_RunsCsv)
    ->ArgName("sjis")
    ->Arg(static_cast<int>(TextEncoding::Utf8))
    ->Arg(static_cast<int>(TextEncoding::ShiftJis))
    ->Unit(benchmark::kMillisecond);

}  // namespace
