// The loading figures of a person's day as whole processes, each against a
// baseline run in alternation with it on the same bytes:
//
// - `hoko32-report --rebuild --view miss FILE` (a full load: every line parsed,
//   the data file written) against `wc -l FILE`;
// - `hoko32-report --view miss FILE` (the cached load) against `wc -l FILE`;
// - the viewer started on FILE up to its first painted window (the start-up
//   probe, offscreen), against `wc -l FILE` too, with its own target in seconds.
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
};
std::map<std::string, Figure>& figures() {
  static std::map<std::string, Figure> all;
  return all;
}

std::string local(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Times `measured` and `wc -l FILE` in alternation.
void againstLineCount(benchmark::State& state, const std::string& name, const std::vector<std::string>& measured,
                      const std::vector<std::string>& environment = {}) {
  const std::vector<std::string> lineCount{"/usr/bin/wc", "-l", local(MillionRuns::instance().recordPath())};
  // Once first: a full load that leaves the data file, and the page cache warm.
  if (timeProcess(measured, environment) < 0 || timeProcess(lineCount) < 0) {
    state.SkipWithError("the process failed");
    return;
  }
  std::vector<double> times, baselines;
  for (auto _ : state) {
    baselines.push_back(timeProcess(lineCount));
    times.push_back(timeProcess(measured, environment));
    if (times.back() < 0 || baselines.back() < 0) {
      state.SkipWithError("the process failed");
      return;
    }
    state.SetIterationTime(times.back());
  }
  const Figure figure{median(times) / median(baselines), median(times)};
  state.counters["wc_ms"] = median(baselines) * 1e3;
  state.counters["ratio"] = figure.ratio;
  figures()[name] = figure;
}

std::vector<std::string> report(bool rebuild) {
  MillionRuns& files = MillionRuns::instance();
  std::vector<std::string> arguments{HOKO32_REPORT, "--settings", local(files.reportSettingsPath()), "--view", "miss"};
  if (rebuild) arguments.push_back("--rebuild");
  arguments.push_back(local(files.recordPath()));
  return arguments;
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
  benchmark::Shutdown();
  return 0;
}
