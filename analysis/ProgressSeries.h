#pragma once

#include <QDate>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <ranges>
#include <span>
#include <utility>
#include <vector>

#include "analysis/EraDays.h"
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

// A run with what is drawn over it. The means and the best are those of the
// whole series (every run of the mode in the era), whatever range is shown.
struct ProgressPoint {
  ProgressRun run;
  double meanHits = 0;      // over this run and up to window - 1 runs before it
  double meanMissRate = 0;  // the same runs' miss rates, averaged
  int bestSoFar = 0;        // the most hits up to this run
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

// A record's run as the series has it.
inline ProgressRun runOf(const PracticeRecord& r) {
  return {r.Date, r.Hour * 3600 + r.Min * 60 + r.Sec, r.Hits, r.Misses};
}

// The runs of the mode (every mode without one), with noMiss only those
// without a miss, in record-file order: a view over `runs`, nothing copied.
inline auto keptRuns(std::span<const PracticeRecord* const> runs, std::optional<PracticeMode> mode, bool noMiss) {
  return runs | std::views::filter([mode, noMiss](const PracticeRecord* r) {
           return (!mode || r->Mode == *mode) && (!noMiss || r->Misses == 0);
         }) |
         std::views::transform([](const PracticeRecord* r) { return runOf(*r); });
}

// The same runs, copied.
std::vector<ProgressRun> runsOf(std::span<const PracticeRecord* const> runs, std::optional<PracticeMode> mode,
                                bool noMiss);

// The first and last day a range of days spans (both included, as select takes
// them); none for All and LastRuns, which span their runs, nor for an invalid day.
std::optional<std::pair<QDate, QDate>> daysOf(const ProgressRange& range, const QDate& today);

// The points of a series, one run at a time in file order: the trailing
// means over the run and up to window - 1 runs before it (window >= 1; the
// first runs average over fewer) and the best so far. Running sums: the hits
// and miss rate of the window's runs are kept in a ring of window slots, or
// for a window longer than RingLimit runs read again through a second cursor
// on the run that leaves it; no copy of the runs, constant work per run
// whatever the window. Once per window the miss rates are summed afresh,
// oldest first, so that rounding cannot build up over a long series.
template <std::ranges::forward_range Runs>
class PointWalk {
 public:
  static constexpr std::size_t RingLimit = std::size_t{1} << 16;  // 1 MiB of slots

  // `ringLimit`: the longest window kept in a ring.
  PointWalk(Runs& runs, int window, std::size_t ringLimit = RingLimit)
      : head_(std::ranges::begin(runs)),
        tail_(head_),
        end_(std::ranges::end(runs)),
        window_(static_cast<std::size_t>(std::max(window, 1))),
        ring_(window_ <= ringLimit ? window_ : 0) {}

  // The next run's point; false after the last run.
  bool next(ProgressPoint& point) {
    if (head_ == end_) return false;
    const ProgressRun r = *head_;
    const double rate = r.missRate();
    hitSum_ += r.hits;
    if (ring_.empty()) {
      if (index_ >= window_) {
        const ProgressRun leaving = *tail_;
        ++tail_;
        hitSum_ -= leaving.hits;
        rateSum_ -= leaving.missRate();
      }
    } else {
      Slot& slot = ring_[slot_];  // the run that leaves the window, once it is full
      if (index_ >= window_) {
        hitSum_ -= slot.hits;
        rateSum_ -= slot.rate;
      }
      slot = {rate, r.hits};
      if (++slot_ == ring_.size()) slot_ = 0;
    }
    rateSum_ += rate;
    if (--untilResum_ == 0) {  // index_ % window_ == window_ - 1, without a division per run
      untilResum_ = window_;
      rateSum_ = 0.0;
      if (ring_.empty()) {
        for (auto it = tail_; it != std::next(head_); ++it) rateSum_ += ProgressRun(*it).missRate();
      } else {
        for (const Slot& s : ring_) rateSum_ += s.rate;  // a whole number of windows in: slot 0 is the oldest
      }
    }
    const auto count = static_cast<double>(std::min(index_ + 1, window_));
    best_ = std::max(best_, r.hits);
    point = {r, static_cast<double>(hitSum_) / count, std::max(rateSum_, 0.0) / count, best_};
    ++head_;
    ++index_;
    return true;
  }

 private:
  struct Slot {
    double rate = 0;
    int hits = 0;
  };

  std::ranges::iterator_t<Runs> head_;
  std::ranges::iterator_t<Runs> tail_;  // the oldest run of the window, without a ring
  std::ranges::sentinel_t<Runs> end_;
  std::size_t window_;
  std::vector<Slot> ring_;  // slot index_ % window_ holds run index_
  std::size_t slot_ = 0;    // index_ % window_
  std::size_t index_ = 0;
  std::size_t untilResum_ = window_;  // runs up to and including the next fresh sum
  long long hitSum_ = 0;
  double rateSum_ = 0;
  int best_ = 0;
};

// Every point of the series.
std::vector<ProgressPoint> points(std::span<const ProgressRun> runs, int window);
// The same into `points`, whose memory is used again: a window that computes
// anew for another window size spares the allocation (a million points take 40 MB).
void points(std::span<const ProgressRun> runs, int window, std::vector<ProgressPoint>& points);

// The points of the range, and the runs of the range of the same length just
// before it (the same number of days or runs; none for All), each in file
// order. The runs are those of the era `era`; the means and the best so far
// are computed over all of them, the range only chooses what is shown. The
// range before is left empty unless it lies wholly inside the era: from its
// first day (without one, from the first run) up to its last; for the newest
// N runs, unless N runs precede them. Runs are taken by their date, whatever
// order the file has them in; LastRuns takes the newest by date and time.
// Dates given the wrong way round mean the same days; an invalid date (or
// today) selects nothing.
struct Selection {
  std::vector<ProgressPoint> shown;
  std::vector<ProgressRun> before;
};
Selection select(std::span<const ProgressRun> runs, const ProgressRange& range, const QDate& today, int window,
                 const EraDays& era = {});

// Distinct dates among day counts: a bitmap over their span, or a sort when
// they lie too far apart for one. `dates` is walked twice.
template <std::ranges::forward_range Dates>
int distinctDays(Dates&& dates);

// The figures of runs given as a forward range of ProgressRun (walked twice).
template <std::ranges::forward_range Runs>
RangeFigures figuresOf(Runs&& runs);
RangeFigures figures(std::span<const ProgressRun> runs);

// "前の期間より +4.2%": the change of the mean hits against the range before,
// in percent with one decimal and its sign ("+0.0%" for none). Empty when
// either range has no run or the range before has a mean of 0 hits.
QString changeText(const RangeFigures& now, const RangeFigures& before);
// The same change in tenths of a percent (42 for +4.2%), halves away from zero.
std::optional<long long> changeTenths(const RangeFigures& now, const RangeFigures& before);

template <std::ranges::forward_range Dates>
int distinctDays(Dates&& dates) {
  auto begin = std::ranges::begin(dates);
  const auto end = std::ranges::end(dates);
  if (begin == end) return 0;
  std::int32_t low = *begin, high = *begin;
  std::size_t count = 0;
  for (auto it = begin; it != end; ++it, ++count) {
    low = std::min<std::int32_t>(low, *it);
    high = std::max<std::int32_t>(high, *it);
  }
  const auto span = static_cast<std::size_t>(static_cast<std::int64_t>(high) - low + 1);
  if (span <= 4 * count + 4096) {
    std::vector<bool> seen(span);
    int days = 0;
    for (auto it = std::ranges::begin(dates); it != end; ++it) {
      const auto at = static_cast<std::size_t>(*it - low);
      if (!seen[at]) {
        seen[at] = true;
        ++days;
      }
    }
    return days;
  }
  std::vector<std::int32_t> sorted;
  sorted.reserve(count);
  for (auto it = std::ranges::begin(dates); it != end; ++it) sorted.push_back(*it);
  std::sort(sorted.begin(), sorted.end());
  return static_cast<int>(std::unique(sorted.begin(), sorted.end()) - sorted.begin());
}

template <std::ranges::forward_range Runs>
RangeFigures figuresOf(Runs&& runs) {
  RangeFigures f;
  long long hitSum = 0;
  double rateSum = 0;
  long long count = 0;
  for (auto it = std::ranges::begin(runs); it != std::ranges::end(runs); ++it) {
    const ProgressRun r = *it;
    hitSum += r.hits;
    rateSum += r.missRate();
    f.bestHits = std::max(f.bestHits, r.hits);
    ++count;
  }
  if (count == 0) return f;
  f.runs = static_cast<int>(count);
  f.practiceDays = distinctDays(runs | std::views::transform([](const ProgressRun& r) { return r.date; }));
  f.meanHits = static_cast<double>(hitSum) / static_cast<double>(count);
  f.meanMissRate = rateSum / static_cast<double>(count);
  return f;
}

}  // namespace ProgressSeries
