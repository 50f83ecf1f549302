// The progress chart's core over a million runs: the trailing means and the
// best so far for a short and a long window, and the reduction of a million
// points to the pixel columns of a wide chart.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "MillionRuns.h"
#include "analysis/ColumnReduction.h"
#include "analysis/ProgressSeries.h"

namespace {

// Every loaded run (all four modes) as one series of a million.
const std::vector<ProgressRun>& millionRuns() {
  static const std::vector<ProgressRun> runs = [] {
    const auto& all = MillionRuns::instance().loaded().AllRecords;
    return ProgressSeries::runsOf({all.data(), all.size()}, std::nullopt, false);
  }();
  return runs;
}

// range(0): the window; range(1): 1 to compute into the points of the time
// before (the window's size changed), 0 into memory of their own (the first time).
void BM_ProgressPoints(benchmark::State& state) {
  const auto& runs = millionRuns();
  if (runs.size() != MillionRuns::Runs) state.SkipWithError("not every run was loaded");
  const int window = static_cast<int>(state.range(0));
  std::vector<ProgressPoint> kept;
  for (auto _ : state) {
    if (state.range(1)) {
      ProgressSeries::points(runs, window, kept);
      benchmark::DoNotOptimize(kept.data());
    } else {
      const std::vector<ProgressPoint> points = ProgressSeries::points(runs, window);
      benchmark::DoNotOptimize(points.data());
    }
  }
  state.counters["runs"] = static_cast<double>(runs.size());
}
BENCHMARK(BM_ProgressPoints)
    ->ArgNames({"window", "reused"})
    ->Args({10, 1})
    ->Args({1000, 1})
    ->Args({10, 0})
    ->Args({1000, 0})
    ->Unit(benchmark::kMillisecond);

// The runs of one mode taken from the loaded file, as the chart's window does.
void BM_ProgressRunsOf(benchmark::State& state) {
  const auto& all = MillionRuns::instance().loaded().AllRecords;
  for (auto _ : state) benchmark::DoNotOptimize(ProgressSeries::runsOf({all.data(), all.size()}, ModeRomaji, false));
}
BENCHMARK(BM_ProgressRunsOf)->Unit(benchmark::kMillisecond);

// A million points onto 1000 columns: range(0) 1 for points in time order
// (the chart's series), 0 for scattered x.
void BM_ProgressReduce(benchmark::State& state) {
  constexpr std::size_t Points = 1'000'000;
  std::vector<double> x(Points), y(Points);
  std::mt19937 random(3);
  for (std::size_t i = 0; i < Points; ++i) {
    x[i] = state.range(0) ? static_cast<double>(i) : std::uniform_real_distribution<>(0, Points)(random);
    y[i] = static_cast<double>(random() % 400);
  }
  std::size_t columns = 0;
  for (auto _ : state) {
    const auto reduced = ColumnReduction::reduce(
        Points, [&x](std::size_t i) { return x[i]; }, [&y](std::size_t i) { return y[i]; }, 0.0, double(Points - 1),
        1000);
    columns = reduced.size();
    benchmark::DoNotOptimize(reduced.data());
  }
  state.counters["columns"] = static_cast<double>(columns);
}
BENCHMARK(BM_ProgressReduce)->ArgName("sorted")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
