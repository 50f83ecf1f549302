// The loading figures of a person's day as whole processes, each against a
// baseline run in alternation with it on the same bytes:
//
// - `hoko32-report --rebuild --view miss FILE` (a full load: every line parsed,
//   the data file written) against `wc -l FILE`;
// - `hoko32-report --view miss FILE` (the cached load) against `wc -l FILE`;
// - the viewer started on FILE up to its first painted window (the start-up
//   probe, offscreen), against `wc -l FILE` too, with its own target in seconds;
// - `hoko32-report --format json --runs FILE` (every run as JSON, with the
//   five views) and `hoko32-report --runs --view miss FILE` (the runs as text),
//   with targets in seconds and, for the JSON, in peak resident memory of the
//   whole process;
// - `hoko32-report --view progress` (one mode and every mode, as text, CSV and
//   JSON) against `--runs` in the same format, in time and peak memory.
//
// FILE holds a million runs (46 MB), read from the page cache. Each ratio is
// the median process time over the median baseline time of the same
// iterations, so that a machine slowed down meanwhile slows both. The ratios
// are printed at the end beside their targets.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "MillionRuns.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
  return values[values.size() / 2];
}

// Runs a program to its end with its output thrown away: its wall time in
// seconds, or a negative number when it could not run or failed.
double timeProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {}) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> settings = environment;
  for (char** e = environ; *e; ++e) settings.emplace_back(*e);  // the first of a name wins
  std::vector<char*> envp;
  for (const std::string& e : settings) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = Clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

struct Figure {
  double ratio = 0;
  double seconds = 0;
  double peakBytes = 0;  // of one more run under /usr/bin/time; 0 where there is none
  double peakRatio = 0;  // the same over the baseline's
};
std::map<std::string, Figure>& figures() {
  static std::map<std::string, Figure> all;
  return all;
}

std::string local(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The peak resident memory of the whole process, as GNU time measures it (a
// process spawned from this one would count this one's memory as its own).
double peakMemory(const std::vector<std::string>& measured) {
  static QTemporaryDir dir;
  const std::string kilobytes = local(dir.filePath(QStringLiteral("peak")));
  std::vector<std::string> arguments{"/usr/bin/time", "-f", "%M", "-o", kilobytes};
  arguments.insert(arguments.end(), measured.begin(), measured.end());
  if (!QFileInfo::exists(QStringLiteral("/usr/bin/time")) || timeProcess(arguments) < 0) return 0;
  QFile file(QString::fromStdString(kilobytes));
  return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toDouble() * 1024.0 : 0;
}

// Times `measured` and `baseline` in alternation.
void againstBaseline(benchmark::State& state, const std::string& name, const std::vector<std::string>& measured,
                     const std::vector<std::string>& baseline, const std::vector<std::string>& environment = {}) {
  // Once first: a full load that leaves the data file, and the page cache warm.
  if (timeProcess(measured, environment) < 0 || timeProcess(baseline) < 0) {
    state.SkipWithError("the process failed");
    return;
  }
  std::vector<double> times, baselines;
  for (auto _ : state) {
    baselines.push_back(timeProcess(baseline));
    times.push_back(timeProcess(measured, environment));
    if (times.back() < 0 || baselines.back() < 0) {
      state.SkipWithError("the process failed");
      return;
    }
    state.SetIterationTime(times.back());
  }
  const Figure figure{median(times) / median(baselines), median(times)};
  state.counters["baseline_ms"] = median(baselines) * 1e3;
  state.counters["ratio"] = figure.ratio;
  figures()[name] = figure;
}

// Times `measured` and `wc -l FILE` in alternation.
void againstLineCount(benchmark::State& state, const std::string& name, const std::vector<std::string>& measured,
                      const std::vector<std::string>& environment = {}) {
  againstBaseline(state, name, measured, {"/usr/bin/wc", "-l", local(MillionRuns::instance().recordPath())},
                  environment);
}

// hoko32-report with the options, on FILE, with the benchmarks' own settings file.
std::vector<std::string> report(std::vector<std::string> options) {
  MillionRuns& files = MillionRuns::instance();
  std::vector<std::string> arguments{HOKO32_REPORT, "--settings", local(files.reportSettingsPath())};
  arguments.insert(arguments.end(), options.begin(), options.end());
  arguments.push_back(local(files.recordPath()));
  return arguments;
}

std::vector<std::string> report(bool rebuild) {
  return rebuild ? report({"--view", "miss", "--rebuild"}) : report({"--view", "miss"});
}

void BM_ProcessReportRebuild(benchmark::State& state) { againstLineCount(state, "rebuild", report(true)); }
BENCHMARK(BM_ProcessReportRebuild)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(31);

void BM_ProcessReportCached(benchmark::State& state) { againstLineCount(state, "cached", report(false)); }
BENCHMARK(BM_ProcessReportCached)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(31);

// The viewer on its own copy of the file (and so its own data file), with the
// settings file the probe keeps beside itself.
void BM_ProcessViewerFirstPaint(benchmark::State& state) {
  static QTemporaryDir dir;
  const QString copy = dir.filePath(QStringLiteral("viewer.ｷﾛｸ"));
  if (!QFileInfo::exists(copy)) QFile::copy(MillionRuns::instance().recordPath(), copy);
  againstLineCount(state, "viewer", {HOKO32_STARTUP_PROBE, local(copy)},
                   {"QT_QPA_PLATFORM=offscreen", "SDL_AUDIODRIVER=dummy", "QT_LOGGING_RULES=*=false"});
}
BENCHMARK(BM_ProcessViewerFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(11);

void BM_ProcessReportRunsJson(benchmark::State& state) {
  const std::vector<std::string> json = report({"--format", "json", "--runs"});
  againstLineCount(state, "json", json);
  figures()["json"].peakBytes = peakMemory(json);
  state.counters["peak_MB"] = figures()["json"].peakBytes / 1e6;
}
BENCHMARK(BM_ProcessReportRunsJson)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(11);

void BM_ProcessReportRunsText(benchmark::State& state) {
  againstLineCount(state, "text", report({"--runs", "--view", "miss"}));
}
BENCHMARK(BM_ProcessReportRunsText)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(11);

// `--view progress` against `--runs` in the same format, in alternation, and
// the peak memory of each: range(0) the format (0 text, 1 csv, 2 json),
// range(1) 1 for every mode. The series is written as it is computed, as the
// runs are: both ratios at most 1.5.
const char* const ProgressFormats[] = {"text", "csv", "json"};

std::string progressName(std::int64_t format, std::int64_t allModes) {
  return std::string("progress ") + ProgressFormats[format] + (allModes ? " all modes" : "");
}

void BM_ProcessReportProgress(benchmark::State& state) {
  const std::string format = ProgressFormats[state.range(0)];
  std::vector<std::string> options{"--format", format, "--view", "progress"};
  if (state.range(1)) options.push_back("--all-modes");
  const std::vector<std::string> progress = report(options);
  const std::vector<std::string> runs = report({"--format", format, "--runs"});
  const std::string name = progressName(state.range(0), state.range(1));
  againstBaseline(state, name, progress, runs);
  Figure& figure = figures()[name];
  figure.peakBytes = peakMemory(progress);
  const double runsPeak = peakMemory(runs);
  state.counters["peak_MB"] = figure.peakBytes / 1e6;
  state.counters["runs_peak_MB"] = runsPeak / 1e6;
  figure.peakRatio = runsPeak > 0 ? figure.peakBytes / runsPeak : 0;
  state.counters["peak_ratio"] = figure.peakRatio;
}
BENCHMARK(BM_ProcessReportProgress)
    ->ArgNames({"format", "all_modes"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void printFigure(const char* name, const char* what, double target) {
  const auto found = figures().find(name);
  if (found == figures().end()) return;
  std::printf("%-58s %6.2fx wc -l  (target at most %.0fx)\n", what, found->second.ratio, target);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  std::printf("\n");
  printFigure("rebuild", "hoko32-report --rebuild --view miss (full load)", 5);
  printFigure("cached", "hoko32-report --view miss (cached load)", 3);
  const auto viewer = figures().find("viewer");
  if (viewer != figures().end())
    std::printf("%-58s %6.2fs  (%.1fx wc -l; target at most 0.40 s)\n", "hoko32 FILE to its first painted window",
                viewer->second.seconds, viewer->second.ratio);
  const auto json = figures().find("json");
  if (json != figures().end())
    std::printf("%-58s %6.2fs  %4.0f MB peak (0: no /usr/bin/time)  (target at most 1 s and 150 MB)\n",
                "hoko32-report --format json --runs (every run as JSON)", json->second.seconds,
                json->second.peakBytes / 1e6);
  const auto text = figures().find("text");
  if (text != figures().end())
    std::printf("%-58s %6.2fs  (target at most 0.5 s)\n", "hoko32-report --runs --view miss (the runs as text)",
                text->second.seconds);
  for (std::int64_t format = 0; format < 3; ++format)
    for (std::int64_t allModes = 0; allModes < 2; ++allModes) {
      const auto progress = figures().find(progressName(format, allModes));
      if (progress == figures().end()) continue;
      std::printf("%-58s %6.2fx time, %5.2fx peak memory of --runs  (target at most 1.5x each)\n",
                  ("hoko32-report --view " + progressName(format, allModes)).c_str(), progress->second.ratio,
                  progress->second.peakRatio);
    }
  benchmark::Shutdown();
  return 0;
}
