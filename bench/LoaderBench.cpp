// Loading a million runs: the full load (parse and write the data file) against
// a memchr line count of the same bytes, and the incremental load (decode the
// data file, parse 1,000 appended lines) against reading the data file's bytes.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "MillionRuns.h"
#include "PeakMemory.h"
#include "records/RecordLoader.h"
#include "settings/SettingsFile.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int Runs = MillionRuns::Runs;
constexpr int AppendedRuns = MillionRuns::AppendedRuns;

MillionRuns& files() { return MillionRuns::instance(); }

void BM_MemchrLineCount(benchmark::State& state) {
  const QString path = files().recordPath();
  for (auto _ : state) benchmark::DoNotOptimize(countLinesWithMemchr(path));
}
BENCHMARK(BM_MemchrLineCount)->Unit(benchmark::kMillisecond);

void BM_FullLoad(benchmark::State& state) {
  const QString path = files().recordPath();
  SettingsFile settings(files().settingsPath());
  SilentFeedback quiet;
  RecordLoader loader(settings, quiet);
  std::int64_t peakAdded = 0;
  std::size_t storeAndReferences = 0;
  bool ok = true;
  for (auto _ : state) {
    state.PauseTiming();
    loader.forgetStoredSize(path);
    LoadedRecords records;
    const std::int64_t before = PeakMemory::residentBytes();
    PeakMemory::resetPeak();
    state.ResumeTiming();

    loader.load(path, records);

    state.PauseTiming();
    peakAdded = std::max(peakAdded, PeakMemory::peakBytes() - before);
    storeAndReferences = records.RecordStore.capacity() * sizeof(PracticeRecord) +
                         records.AllRecords.capacity() * sizeof(const PracticeRecord*);
    ok = ok && records.AllRecords.size() == Runs;
    state.ResumeTiming();
  }
  if (!ok) state.SkipWithError("not every run was kept");
  state.counters["peak_MB"] = static_cast<double>(peakAdded) / 1e6;
  state.counters["store_refs_MB"] = static_cast<double>(storeAndReferences) / 1e6;
  state.counters["peak_ratio"] = static_cast<double>(peakAdded) / static_cast<double>(storeAndReferences);
}
BENCHMARK(BM_FullLoad)->Unit(benchmark::kMillisecond);

void BM_ReadDataFileBytes(benchmark::State& state) {
  const QString path = RecordLoader::dataFilePathFor(files().appendedPath());
  for (auto _ : state) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    std::vector<char> bytes(static_cast<std::size_t>(files().dataBytes()));
    benchmark::DoNotOptimize(f.read(bytes.data(), static_cast<qint64>(bytes.size())));
  }
}
BENCHMARK(BM_ReadDataFileBytes)->Unit(benchmark::kMillisecond);

void BM_IncrementalLoad(benchmark::State& state) {
  const QString path = files().appendedPath();
  const QString dataPath = RecordLoader::dataFilePathFor(path);
  SettingsFile settings(files().settingsPath());
  SilentFeedback quiet;
  RecordLoader loader(settings, quiet);
  const QString cachedSize = QString::number(static_cast<qint64>(Runs) * 46);
  bool ok = true;
  for (auto _ : state) {
    state.PauseTiming();
    QFile::resize(dataPath, files().dataBytes());
    settings.writeText(u"FileSize"_s, path, cachedSize);
    LoadedRecords records;
    state.ResumeTiming();

    loader.load(path, records);

    state.PauseTiming();
    ok = ok && loader.lastSummary().kind == LoadKind::Incremental && loader.lastSummary().parsedLines == AppendedRuns &&
         records.AllRecords.size() == Runs + AppendedRuns;
    state.ResumeTiming();
  }
  if (!ok) state.SkipWithError("not an incremental load of the appended lines");
}
BENCHMARK(BM_IncrementalLoad)->Unit(benchmark::kMillisecond);

}  // namespace
