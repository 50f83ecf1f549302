// The average trend over a million loaded runs (250,000 of the mode shown):
// one calculation per grouping, and the pane text of the day grouping.
#include <benchmark/benchmark.h>

#include "MillionRuns.h"
#include "analysis/AverageTrend.h"

namespace {

std::span<const PracticeRecord* const> loadedRuns() {
  const auto& all = MillionRuns::instance().loaded().AllRecords;
  return {all.data(), all.size()};
}

void BM_AverageCalculate(benchmark::State& state) {
  const auto all = loadedRuns();
  AverageOptions options;
  options.period = static_cast<AveragePeriod>(state.range(0));
  AverageTrend trend;  // one object recalculated, as the viewer keeps it
  for (auto _ : state) {
    trend.calculate(all, options);
    benchmark::DoNotOptimize(trend.AverageLines.constData());
  }
  if (all.size() != MillionRuns::Runs) state.SkipWithError("not every run was loaded");
  state.counters["groups"] = static_cast<double>(trend.AveragePoints.size());
}
BENCHMARK(BM_AverageCalculate)
    ->ArgName("period")
    ->DenseRange(static_cast<int>(AveragePeriod::Day), static_cast<int>(AveragePeriod::Count))
    ->Unit(benchmark::kMillisecond);

void BM_AveragePaneLines(benchmark::State& state) {
  AverageTrend trend;
  trend.calculate(loadedRuns(), AverageOptions{});
  for (auto _ : state) benchmark::DoNotOptimize(averagePaneLines(trend.AverageLines, 0));
  state.counters["lines"] = static_cast<double>(trend.AverageLines.size());
}
BENCHMARK(BM_AveragePaneLines)->Unit(benchmark::kMillisecond);

}  // namespace
