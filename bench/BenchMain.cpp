// Runs the benchmarks, then prints each measured figure as a ratio to its
// baseline from the same run.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        times[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  std::map<std::string, double> times;
};

void printRatio(const RatioReporter& reporter, const char* measured, const char* baseline, double target) {
  const auto m = reporter.times.find(measured);
  const auto b = reporter.times.find(baseline);
  if (m == reporter.times.end() || b == reporter.times.end()) return;
  std::printf("%-22s / %-22s = %6.2fx  (target at most %.0fx)\n", measured, baseline, m->second / b->second, target);
}

}  // namespace

int main(int argc, char** argv) {
  // Large blocks always come from and go back to the system, so that resident
  // memory shows what a load allocates rather than what an earlier one left.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  mallopt(M_TRIM_THRESHOLD, 128 * 1024);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n");
  printRatio(reporter, "BM_FullLoad", "BM_MemchrLineCount", 10);
  printRatio(reporter, "BM_IncrementalLoad", "BM_ReadDataFileBytes", 5);
  benchmark::Shutdown();
  return 0;
}
