#pragma once

#include <QDate>

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "records/PracticeRecord.h"

// One run as the progress chart plots it: when, hits and misses.
struct ProgressRun {
  std::int32_t date = 0;    // the day count of PracticeRecord::Date
  std::int32_t second = 0;  // the second of the day
  int hits = 0;
  int misses = 0;

  double when() const { return date + second / 86400.0; }
  // A run's miss rate as the worst-ten view has it: misses of all keystrokes (0 without one).
  double missRate() const { return hits + misses == 0 ? 0.0 : double(misses) / double(hits + misses); }
};

// A run of the shown range with what is drawn over it.
struct ProgressPoint {
  ProgressRun run;
  double meanHits = 0;      // over this run and up to window - 1 runs before it in the range
  double meanMissRate = 0;  // the same runs' miss rates, averaged
  int bestSoFar = 0;        // the most hits of the range up to this run
};

// The ranges the progress chart offers. Those of a length end today and count
// back from it; LastRuns takes the newest runs; Dates two days (both included).
enum class ProgressRangeKind { All, OneYear, SixMonths, ThreeMonths, OneMonth, OneWeek, LastRuns, Dates };

struct ProgressRange {
  ProgressRangeKind kind = ProgressRangeKind::All;
  int lastRuns = 100;  // for LastRuns
  QDate from, to;      // for Dates
};

// What a range holds, as shown beside the chart.
struct RangeFigures {
  int runs = 0;
  int practiceDays = 0;  // days with at least one run
  double meanHits = 0;
  int bestHits = 0;
  double meanMissRate = 0;
};

namespace ProgressSeries {

// The runs of the mode (every mode without one), in record-file order;
// with noMiss only those without a miss.
std::vector<ProgressRun> runsOf(std::span<const PracticeRecord* const> runs, std::optional<PracticeMode> mode,
                                bool noMiss);

// The runs of the range, and those of the range of the same length just before
// it (the same number of days or runs; none for All), each in file order. Runs
// are taken by their date, whatever order the file has them in; LastRuns takes
// the newest by date and time. Dates given the wrong way round mean the same
// days; an invalid date (or today) selects nothing.
struct Selection {
  std::vector<ProgressRun> shown;
  std::vector<ProgressRun> before;
};
Selection select(std::span<const ProgressRun> runs, const ProgressRange& range, const QDate& today);
// The first and last day a range of days spans (both included, as select takes
// them); none for All and LastRuns, which span their runs, nor for an invalid day.
std::optional<std::pair<QDate, QDate>> daysOf(const ProgressRange& range, const QDate& today);

// The shown runs with their trailing means (window >= 1; the first runs of the
// range average over fewer) and the best so far.
std::vector<ProgressPoint> points(std::span<const ProgressRun> shown, int window);
// The same into `points`, whose memory is used again: a window that computes
// anew for another window size spares the allocation (a million points take 40 MB).
void points(std::span<const ProgressRun> shown, int window, std::vector<ProgressPoint>& points);

RangeFigures figures(std::span<const ProgressRun> runs);
// "前の期間より +4.2%": the change of the mean hits against the range before,
// in percent with one decimal and its sign ("+0.0%" for none). Empty when
// either range has no run or the range before has a mean of 0 hits.
QString changeText(const RangeFigures& now, const RangeFigures& before);
// The same change in tenths of a percent (42 for +4.2%), halves away from zero.
std::optional<long long> changeTenths(const RangeFigures& now, const RangeFigures& before);

}  // namespace ProgressSeries
