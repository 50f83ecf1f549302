// The mode pass and the pane texts of the history, graph, miss and ranking
// views on a million loaded runs (250,000 in the mode shown).
#include <benchmark/benchmark.h>

#include "MillionRuns.h"
#include "analysis/ModePass.h"
#include "analysis/ViewTexts.h"

namespace {

std::span<const PracticeRecord* const> allRecords() {
  const LoadedRecords& loaded = MillionRuns::instance().loaded();
  return {loaded.AllRecords.data(), loaded.AllRecords.size()};
}

ModePassOptions romaji() {
  ModePassOptions options;
  options.mode = ModeRomaji;
  return options;
}

void BM_ModePass(benchmark::State& state) {
  const auto all = allRecords();
  ModePass pass;
  CelebrationFlags flags;
  for (auto _ : state) pass.run(all, romaji(), flags);
  state.counters["kept_runs"] = static_cast<double>(pass.KeptRuns);
  state.counters["records"] = static_cast<double>(pass.RecordPoints.size());
}
BENCHMARK(BM_ModePass)->Unit(benchmark::kMillisecond);

// The same over the loaded store itself, as the viewer core runs it.
void BM_ModePassOverStore(benchmark::State& state) {
  const LoadedRecords& loaded = MillionRuns::instance().loaded();
  const std::span<const PracticeRecord> store(loaded.RecordStore.data(), loaded.RecordStore.size());
  ModePass pass;
  CelebrationFlags flags;
  for (auto _ : state) pass.run(store, romaji(), flags);
  state.counters["kept_runs"] = static_cast<double>(pass.KeptRuns);
}
BENCHMARK(BM_ModePassOverStore)->Unit(benchmark::kMillisecond);

// One pass shared by the pane benchmarks.
const ModePass& romajiPass() {
  static ModePass pass;
  static bool done = false;
  if (!done) {
    CelebrationFlags flags;
    pass.run(allRecords(), romaji(), flags);
    done = true;
  }
  return pass;
}

void BM_HistoryPaneText(benchmark::State& state) {
  const ModePass& pass = romajiPass();
  for (auto _ : state) benchmark::DoNotOptimize(ViewTexts::historyPaneLines(pass.HistoryLines, 0).join(u'\n'));
}
BENCHMARK(BM_HistoryPaneText)->Unit(benchmark::kMillisecond);

void BM_GraphPaneText(benchmark::State& state) {
  const ModePass& pass = romajiPass();
  for (auto _ : state) benchmark::DoNotOptimize(ViewTexts::graphPaneLines(pass.GraphLines, 0).join(u'\n'));
}
BENCHMARK(BM_GraphPaneText)->Unit(benchmark::kMillisecond);

void BM_MissPaneText(benchmark::State& state) {
  const ModePass& pass = romajiPass();
  for (auto _ : state) benchmark::DoNotOptimize(ViewTexts::missPaneLines(pass.Miss, ModeRomaji).join(u'\n'));
}
BENCHMARK(BM_MissPaneText)->Unit(benchmark::kMillisecond);

// What a change of the rank count costs: the list is already ordered.
void BM_RankingPaneText(benchmark::State& state) {
  const ModePass& pass = romajiPass();
  const QDateTime now = QDateTime::currentDateTime();
  for (auto _ : state)
    benchmark::DoNotOptimize(ViewTexts::bestPaneLines(pass.ModeRecords, 1000, false, ModeRomaji, now).join(u'\n'));
}
BENCHMARK(BM_RankingPaneText)->Unit(benchmark::kMillisecond);

}  // namespace
