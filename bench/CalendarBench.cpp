// The practice calendar over a million loaded runs (250,000 per mode): the
// grouping for one mode and for every mode, on the file as written (in date
// order) and on the same runs shuffled, and the text of its days.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "MillionRuns.h"
#include "analysis/CalendarTexts.h"
#include "analysis/PracticeCalendar.h"

namespace {

// The bench machine's "today": the day after the newest run.
QDate dayAfterTheNewestRun(std::span<const PracticeRecord* const> runs) {
  QDate newest;
  for (const PracticeRecord* r : runs) newest = std::max(newest, QDate(r->Year, r->Month, r->Day));
  return newest.addDays(1);
}

std::span<const PracticeRecord* const> loadedRuns() {
  const auto& all = MillionRuns::instance().loaded().AllRecords;
  return {all.data(), all.size()};
}

// The loaded runs in a random order, each day's runs scattered over the file.
struct ShuffledRuns {
  std::vector<PracticeRecord> store;
  std::vector<const PracticeRecord*> refs;

  ShuffledRuns() {
    for (const PracticeRecord* r : loadedRuns()) store.push_back(*r);
    std::mt19937 random(42);
    std::shuffle(store.begin(), store.end(), random);
    refs.reserve(store.size());
    for (const PracticeRecord& r : store) refs.push_back(&r);
  }
};

std::span<const PracticeRecord* const> shuffledRuns() {
  static const ShuffledRuns runs;
  return {runs.refs.data(), runs.refs.size()};
}

// range(0): the mode, or -1 for every mode; range(1): 1 for the shuffled runs.
void BM_CalendarBuild(benchmark::State& state) {
  const auto runs = state.range(1) ? shuffledRuns() : loadedRuns();
  const std::optional<PracticeMode> mode =
      state.range(0) < 0 ? std::nullopt : std::optional(static_cast<PracticeMode>(state.range(0)));
  const QDate today = dayAfterTheNewestRun(runs);
  PracticeCalendar calendar;
  for (auto _ : state) {
    calendar = PracticeCalendar::build(runs, mode, today);
    benchmark::DoNotOptimize(calendar.days().data());
  }
  if (runs.size() != MillionRuns::Runs) state.SkipWithError("not every run was loaded");
  state.counters["days"] = calendar.practiceDays();
  state.counters["runs"] = static_cast<double>(calendar.totalRuns());
  state.counters["streak"] = calendar.currentStreak().days;
}
BENCHMARK(BM_CalendarBuild)
    ->ArgNames({"mode", "shuffled"})
    ->Args({ModeRomaji, 0})
    ->Args({-1, 0})
    ->Args({ModeRomaji, 1})
    ->Args({-1, 1})
    ->Unit(benchmark::kMillisecond);

// The report's text: the figures and one line per practice day.
void BM_CalendarLines(benchmark::State& state) {
  const auto runs = loadedRuns();
  const PracticeCalendar calendar = PracticeCalendar::build(runs, std::nullopt, dayAfterTheNewestRun(runs));
  for (auto _ : state) benchmark::DoNotOptimize(CalendarTexts::calendarLines(calendar));
  state.counters["lines"] = static_cast<double>(calendar.practiceDays() + 8);
}
BENCHMARK(BM_CalendarLines)->Unit(benchmark::kMillisecond);

}  // namespace
