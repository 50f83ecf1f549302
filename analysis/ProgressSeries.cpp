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

bool dated(const ProgressRun& r, std::int32_t first, std::int32_t last) { return r.date >= first && r.date <= last; }

// The points of the runs dated from `first` to `last` (day counts, both
// included), and the runs of as many days before, each in file order. The days
// before count only when they lie wholly inside the era.
Selection datedBetween(std::span<const ProgressRun> runs, std::span<const ProgressPoint> series, std::int32_t first,
                       std::int32_t last, const EraDays& era) {
  const std::int64_t days = static_cast<std::int64_t>(last) - first + 1;
  const std::int64_t beforeFirst = first - days;
  const bool beforeInEra = beforeFirst >= era.first && first - 1 <= static_cast<std::int64_t>(era.last);
  Selection selection;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (dated(runs[i], first, last))
      selection.shown.push_back(series[i]);
    else if (beforeInEra && runs[i].date >= beforeFirst && runs[i].date < first)
      selection.before.push_back(runs[i]);
  }
  return selection;
}

// The newest `count` runs and the `count` before them, each in file order; the
// ones before only when there are as many. A record file is written in time
// order, so the usual case takes the last runs of the file; an unsorted one is
// ranked by time, equal times by file order.
Selection newestRuns(std::span<const ProgressRun> runs, std::span<const ProgressPoint> series, std::size_t count) {
  const std::size_t n = runs.size();
  const std::size_t shown = std::min(count, n);
  const std::size_t before = n - shown >= count ? count : 0;
  if (std::is_sorted(runs.begin(), runs.end(), earlier))
    return {
        {series.end() - static_cast<std::ptrdiff_t>(shown), series.end()},
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
      selection.shown.push_back(series[i]);
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

}  // namespace

std::vector<ProgressRun> runsOf(std::span<const PracticeRecord* const> runs, std::optional<PracticeMode> mode,
                                bool noMiss) {
  std::vector<ProgressRun> kept;
  for (const ProgressRun& r : keptRuns(runs, mode, noMiss)) kept.push_back(r);
  return kept;
}

Selection select(std::span<const ProgressRun> runs, const ProgressRange& range, const QDate& today, int window,
                 const EraDays& era) {
  std::vector<ProgressPoint> series = points(runs, window);
  if (range.kind == ProgressRangeKind::All) return {std::move(series), {}};
  if (range.kind == ProgressRangeKind::LastRuns)
    return newestRuns(runs, series, static_cast<std::size_t>(std::max(range.lastRuns, 0)));
  // Without a first day the era starts with the first run.
  EraDays inside = era;
  if (inside.first == EraDays().first && !runs.empty())
    inside.first = std::min_element(runs.begin(), runs.end(), earlier)->date;
  if (range.kind == ProgressRangeKind::Dates) {
    if (!range.from.isValid() || !range.to.isValid()) return {};
    // Two days given the wrong way round mean the same days.
    return datedBetween(runs, series, dayCountOf(std::min(range.from, range.to)),
                        dayCountOf(std::max(range.from, range.to)), inside);
  }
  if (!today.isValid()) return {};
  return datedBetween(runs, series, dayCountOf(firstDayOf(range.kind, today)), dayCountOf(today), inside);
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

std::vector<ProgressPoint> points(std::span<const ProgressRun> runs, int window) {
  std::vector<ProgressPoint> result;
  points(runs, window, result);
  return result;
}

void points(std::span<const ProgressRun> runs, int window, std::vector<ProgressPoint>& result) {
  result.resize(runs.size());
  PointWalk walk(runs, window);
  for (ProgressPoint& p : result) walk.next(p);
}

RangeFigures figures(std::span<const ProgressRun> runs) { return figuresOf(runs); }

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
