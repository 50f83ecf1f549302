// `hoko32-report --view miss` on a million runs, in process: with --rebuild (a
// full load that parses every line and writes the data file) and without (the
// cached load, which decodes the data file). Each iteration also counts the
// record file's lines with memchr, as `wc -l` does; "ratio" is the median
// report time over the median count time of the same iterations, so that a
// machine slowed down meanwhile slows both.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "MillionRuns.h"
#include "app/ReportTool.h"
#include "settings/SettingsFile.h"

using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
  return values[values.size() / 2];
}

// The size the settings file holds for the record file: its own when the
// report kept the data file.
std::int64_t storedSize(const QString& settingsPath, const QString& recordPath) {
  const SettingsFile settings(settingsPath);
  const QString canonical = QFileInfo(recordPath).canonicalFilePath();
  return settings.readStoredSize({canonical, canonical}).size;
}

void runReport(benchmark::State& state, bool rebuild) {
  MillionRuns& files = MillionRuns::instance();
  const QString record = files.recordPath();
  const QString settings = files.reportSettingsPath();
  std::FILE* const nowhere = std::fopen("/dev/null", "w");
  ReportTool tool(u"/nonexistent/hoko32-report"_s, nowhere, nowhere);
  const QStringList cached{u"--settings"_s, settings, u"--view"_s, u"miss"_s, record};
  const QStringList full = QStringList{u"--rebuild"_s} + cached;
  const QStringList& arguments = rebuild ? full : cached;
  const std::int64_t recordSize = QFileInfo(record).size();

  bool ok = tool.run(full) == ReportTool::ExitOk && storedSize(settings, record) == recordSize;
  std::vector<double> reports, counts;
  for (auto _ : state) {
    const auto countStart = Clock::now();
    benchmark::DoNotOptimize(countLinesWithMemchr(record));
    counts.push_back(secondsSince(countStart));

    const auto reportStart = Clock::now();
    ok = tool.run(arguments) == ReportTool::ExitOk && ok;
    reports.push_back(secondsSince(reportStart));
    state.SetIterationTime(reports.back());
    ok = ok && storedSize(settings, record) == recordSize;
  }
  std::fclose(nowhere);
  if (!ok) state.SkipWithError("the report failed or did not keep the data file");
  state.counters["count_ms"] = median(counts) * 1e3;
  state.counters["ratio"] = median(reports) / median(counts);
}

void BM_ReportRebuildMissView(benchmark::State& state) { runReport(state, true); }
BENCHMARK(BM_ReportRebuildMissView)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ReportCachedMissView(benchmark::State& state) { runReport(state, false); }
BENCHMARK(BM_ReportCachedMissView)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
