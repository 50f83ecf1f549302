#include "analysis/ProgressSeries.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "records/DayCount.h"

using namespace Qt::StringLiterals;

namespace ProgressSeries {

namespace {

std::int32_t dayCountOf(const QDate& date) {
  return static_cast<std::int32_t>(date.toJulianDay() - DayCount::JulianDayOfDayZero);
}

bool earlier(const ProgressRun& a, const ProgressRun& b) {
  return a.date != b.date ? a.date < b.date : a.second < b.second;
}

// The runs dated from `first` to `last` (day counts, both included), in file order.
std::vector<ProgressRun> datedBetween(std::span<const ProgressRun> runs, std::int32_t first, std::int32_t last) {
  std::vector<ProgressRun> kept;
  for (const ProgressRun& r : runs)
    if (r.date >= first && r.date <= last) kept.push_back(r);
  return kept;
}

// The newest `count` runs and the `count` before them, each in file order. A
// record file is written in time order, so the usual case takes the last runs
// of the file; an unsorted one is ranked by time, equal times by file order.
Selection newestRuns(std::span<const ProgressRun> runs, std::size_t count) {
  const std::size_t n = runs.size();
  const std::size_t shown = std::min(count, n);
  const std::size_t before = std::min(count, n - shown);
  if (std::is_sorted(runs.begin(), runs.end(), earlier))
    return {
        {runs.end() - static_cast<std::ptrdiff_t>(shown), runs.end()},
        {runs.end() - static_cast<std::ptrdiff_t>(shown + before), runs.end() - static_cast<std::ptrdiff_t>(shown)}};
  std::vector<std::uint32_t> order(n);
  std::iota(order.begin(), order.end(), 0u);
  std::stable_sort(order.begin(), order.end(),
                   [runs](std::uint32_t a, std::uint32_t b) { return earlier(runs[a], runs[b]); });
  // rank[i]: where run i stands in time order; the newest `shown` are shown.
  std::vector<std::uint32_t> rank(n);
  for (std::size_t k = 0; k < n; ++k) rank[order[k]] = static_cast<std::uint32_t>(k);
  Selection selection;
  for (std::size_t i = 0; i < n; ++i) {
    if (rank[i] >= n - shown)
      selection.shown.push_back(runs[i]);
    else if (rank[i] >= n - shown - before)
      selection.before.push_back(runs[i]);
  }
  return selection;
}

// The first day of a range of the given kind that ends today.
QDate firstDayOf(ProgressRangeKind kind, const QDate& today) {
  switch (kind) {
    case ProgressRangeKind::OneYear: return today.addYears(-1).addDays(1);
    case ProgressRangeKind::SixMonths: return today.addMonths(-6).addDays(1);
    case ProgressRangeKind::ThreeMonths: return today.addMonths(-3).addDays(1);
    case ProgressRangeKind::OneMonth: return today.addMonths(-1).addDays(1);
    case ProgressRangeKind::OneWeek: return today.addDays(-6);
    case ProgressRangeKind::All:
    case ProgressRangeKind::LastRuns:
    case ProgressRangeKind::Dates: break;
  }
  return today;
}

// Distinct dates among the runs: a bitmap over their span, or a sort when the
// dates lie too far apart for one.
int distinctDays(std::span<const ProgressRun> runs) {
  if (runs.empty()) return 0;
  const auto [low, high] = std::minmax_element(
      runs.begin(), runs.end(), [](const ProgressRun& a, const ProgressRun& b) { return a.date < b.date; });
  const auto span = static_cast<std::size_t>(static_cast<std::int64_t>(high->date) - low->date + 1);
  if (span <= 4 * runs.size() + 4096) {
    std::vector<bool> seen(span);
    int days = 0;
    for (const ProgressRun& r : runs) {
      const auto at = static_cast<std::size_t>(r.date - low->date);
      if (!seen[at]) {
        seen[at] = true;
        ++days;
      }
    }
    return days;
  }
  std::vector<std::int32_t> dates;
  dates.reserve(runs.size());
  for (const ProgressRun& r : runs) dates.push_back(r.date);
  std::sort(dates.begin(), dates.end());
  return static_cast<int>(std::unique(dates.begin(), dates.end()) - dates.begin());
}

}  // namespace

std::vector<ProgressRun> runsOf(std::span<const PracticeRecord* const> runs, std::optional<PracticeMode> mode,
                                bool noMiss) {
  std::vector<ProgressRun> kept;
  for (const PracticeRecord* r : runs) {
    if ((mode && r->Mode != *mode) || (noMiss && r->Misses != 0)) continue;
    kept.push_back({r->Date, r->Hour * 3600 + r->Min * 60 + r->Sec, r->Hits, r->Misses});
  }
  return kept;
}

Selection select(std::span<const ProgressRun> runs, const ProgressRange& range, const QDate& today) {
  switch (range.kind) {
    case ProgressRangeKind::All: return {{runs.begin(), runs.end()}, {}};
    case ProgressRangeKind::LastRuns: return newestRuns(runs, static_cast<std::size_t>(std::max(range.lastRuns, 0)));
    case ProgressRangeKind::Dates: {
      if (!range.from.isValid() || !range.to.isValid()) return {};
      // Two days given the wrong way round mean the same days.
      const std::int32_t first = dayCountOf(std::min(range.from, range.to));
      const std::int32_t last = dayCountOf(std::max(range.from, range.to));
      const std::int32_t days = last - first + 1;
      return {datedBetween(runs, first, last), datedBetween(runs, first - days, first - 1)};
    }
    default: break;
  }
  if (!today.isValid()) return {};
  const std::int32_t first = dayCountOf(firstDayOf(range.kind, today));
  const std::int32_t last = dayCountOf(today);
  const std::int32_t days = last - first + 1;
  return {datedBetween(runs, first, last), datedBetween(runs, first - days, first - 1)};
}

std::optional<std::pair<QDate, QDate>> daysOf(const ProgressRange& range, const QDate& today) {
  switch (range.kind) {
    case ProgressRangeKind::All:
    case ProgressRangeKind::LastRuns: return std::nullopt;
    case ProgressRangeKind::Dates:
      if (!range.from.isValid() || !range.to.isValid()) return std::nullopt;
      return std::pair(std::min(range.from, range.to), std::max(range.from, range.to));
    default: break;
  }
  if (!today.isValid()) return std::nullopt;
  return std::pair(firstDayOf(range.kind, today), today);
}

std::vector<ProgressPoint> points(std::span<const ProgressRun> shown, int window) {
  std::vector<ProgressPoint> result;
  points(shown, window, result);
  return result;
}

void points(std::span<const ProgressRun> shown, int window, std::vector<ProgressPoint>& result) {
  const std::size_t w = static_cast<std::size_t>(std::max(window, 1));
  const std::size_t n = shown.size();
  result.resize(n);
  // The miss rates of the window, as a ring: each is divided out once.
  std::vector<double> rates(std::min(w, n));
  long long hitSum = 0;
  double rateSum = 0;
  int best = 0;
  std::size_t slot = 0;  // i modulo w
  for (std::size_t i = 0; i < n; ++i, slot = slot + 1 == w ? 0 : slot + 1) {
    const ProgressRun& r = shown[i];
    const double rate = r.missRate();
    hitSum += r.hits;
    if (i >= w) {
      hitSum -= shown[i - w].hits;
      rateSum -= rates[slot];
    }
    rates[slot] = rate;
    rateSum += rate;
    // Once per window the rates are summed afresh, so that rounding cannot build up over a long series.
    if (slot == w - 1) rateSum = std::accumulate(rates.begin(), rates.end(), 0.0);
    const auto count = static_cast<double>(std::min(i + 1, w));
    best = std::max(best, r.hits);
    ProgressPoint& p = result[i];
    p.run = r;
    p.meanHits = static_cast<double>(hitSum) / count;
    p.meanMissRate = std::max(rateSum, 0.0) / count;
    p.bestSoFar = best;
  }
}

RangeFigures figures(std::span<const ProgressRun> runs) {
  RangeFigures f;
  if (runs.empty()) return f;
  long long hitSum = 0;
  double rateSum = 0;
  for (const ProgressRun& r : runs) {
    hitSum += r.hits;
    rateSum += r.missRate();
    f.bestHits = std::max(f.bestHits, r.hits);
  }
  f.runs = static_cast<int>(runs.size());
  f.practiceDays = distinctDays(runs);
  f.meanHits = static_cast<double>(hitSum) / static_cast<double>(runs.size());
  f.meanMissRate = rateSum / static_cast<double>(runs.size());
  return f;
}

std::optional<long long> changeTenths(const RangeFigures& now, const RangeFigures& before) {
  if (now.runs == 0 || before.runs == 0 || before.meanHits <= 0) return std::nullopt;
  return std::llround((now.meanHits - before.meanHits) / before.meanHits * 1000.0);
}

QString changeText(const RangeFigures& now, const RangeFigures& before) {
  const std::optional<long long> change = changeTenths(now, before);
  if (!change) return {};
  const long long tenths = *change;
  // No change shows as "+0.0%".
  return u"前の期間より "_s + (tenths < 0 ? u'-' : u'+') + QString::number(std::llabs(tenths) / 10) + u'.' +
         QString::number(std::llabs(tenths) % 10) + u'%';
}

}  // namespace ProgressSeries
