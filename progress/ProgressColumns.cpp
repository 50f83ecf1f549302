#include "progress/ProgressColumns.h"

#include <algorithm>

namespace {

// Moves the indices of a reduction of a part of the points onto the whole.
void mapIndices(std::vector<ColumnExtremes>& reduced, auto&& toWhole) {
  for (ColumnExtremes& c : reduced) {
    c.first = toWhole(c.first);
    c.last = toWhole(c.last);
    c.lowest = toWhole(c.lowest);
    c.highest = toWhole(c.highest);
  }
}

}  // namespace

std::array<std::vector<ColumnExtremes>, ProgressColumns::SeriesCount> ProgressColumns::extremesOf(
    const std::vector<ColumnStretch>& stretches, std::size_t first) const {
  std::array<std::vector<ColumnExtremes>, SeriesCount> result;
  for (auto& series : result) series.reserve(stretches.size());
  const ProgressPoint* points = points_->data() + first;
  for (const ColumnStretch& s : stretches) {
    // As ColumnReduction::extremes, for the five series at once: among equal values the earlier point.
    std::array<float, SeriesCount> low, high;
    std::array<std::uint32_t, SeriesCount> lowest, highest;
    for (int k = 0; k < SeriesCount; ++k) {
      low[k] = high[k] = valueOf(Series(k), points[s.begin]);
      lowest[k] = highest[k] = s.begin;
    }
    for (std::uint32_t i = s.begin + 1; i < s.end; ++i) {
      const ProgressPoint& p = points[i];
      const std::array<float, SeriesCount> values{valueOf(Hits, p), valueOf(MeanHits, p), valueOf(Best, p),
                                                  valueOf(MissRate, p), valueOf(MeanMissRate, p)};
      for (int k = 0; k < SeriesCount; ++k) {
        if (values[k] < low[k]) low[k] = values[k], lowest[k] = i;
        if (values[k] > high[k]) high[k] = values[k], highest[k] = i;
      }
    }
    for (int k = 0; k < SeriesCount; ++k) result[k].push_back({s.column, s.begin, s.end - 1, lowest[k], highest[k]});
  }
  return result;
}

void ProgressColumns::setPoints(const std::vector<ProgressPoint>& points, const std::vector<double>& times,
                                bool sorted) {
  points_ = &points;
  key_.columns = -1;
  summaryWidth_ = 0;
  summary_ = {};
  if (!sorted || points.size() < std::size_t(SummaryColumns) * 8 || !(times.back() > times.front())) return;
  summaryWidth_ = (times.back() - times.front()) / SummaryColumns;
  const auto columns = extremesOf(
      ColumnReduction::stretches(
          times.size(), [&times](std::size_t i) { return times[i]; }, times.front(), times.back(), SummaryColumns),
      0);
  for (int series = 0; series < SeriesCount; ++series) {
    Summary& summary = summary_[std::size_t(series)];
    summary.indices.reserve(columns[series].size() * 4);
    for (const ColumnExtremes& c : columns[series]) {
      const auto [low, high] = std::minmax(c.lowest, c.highest);
      for (const std::uint32_t i : {c.first, low, high, c.last})
        if (summary.indices.empty() || summary.indices.back() != i) summary.indices.push_back(i);
    }
    summary.times.resize(summary.indices.size());
    summary.values.resize(summary.indices.size());
    for (std::size_t k = 0; k < summary.indices.size(); ++k) {
      summary.times[k] = times[summary.indices[k]];
      summary.values[k] = value(Series(series), summary.indices[k]);
    }
  }
}

const ProgressColumns::Reduced& ProgressColumns::reduce(const std::vector<double>& times, bool sorted, double from,
                                                        double to, int columns) {
  const Key key{from, to, columns};
  if (key == key_) return reduced_;
  key_ = key;
  reduced_.begin = 0;
  reduced_.end = times.size();
  if (sorted) {
    reduced_.begin = std::size_t(std::lower_bound(times.begin(), times.end(), from) - times.begin());
    reduced_.end = std::size_t(std::upper_bound(times.begin(), times.end(), to) - times.begin());
  }
  const std::size_t first = reduced_.begin;
  const std::size_t count = reduced_.end - first;
  const double* at = times.data() + first;
  const bool summed = summaryWidth_ > 0 && (to - from) / columns >= summaryWidth_;
  if (sorted && !summed) {
    // The runs of each column are found once, and walked once for the five series.
    reduced_.series = extremesOf(ColumnReduction::stretches(
                                     count, [at](std::size_t i) { return at[i]; }, from, to, columns),
                                 first);
    for (auto& reduced : reduced_.series)
      mapIndices(reduced, [first](std::uint32_t i) { return std::uint32_t(first + i); });
    return reduced_;
  }
  // One walk per series: over the summary's points of the range, or over every run.
  for (int series = 0; series < SeriesCount; ++series) {
    std::vector<ColumnExtremes> reduced;
    if (summed) {
      const Summary& summary = summary_[std::size_t(series)];
      const auto begin = std::lower_bound(summary.times.begin(), summary.times.end(), from);
      const auto end = std::upper_bound(begin, summary.times.end(), to);
      const std::size_t offset = std::size_t(begin - summary.times.begin());
      const double* when = summary.times.data() + offset;
      const float* value = summary.values.data() + offset;
      const std::uint32_t* part = summary.indices.data() + offset;
      reduced = ColumnReduction::reduceSorted(
          std::size_t(end - begin), [when](std::size_t i) { return when[i]; },
          [value](std::size_t i) { return value[i]; }, from, to, columns);
      mapIndices(reduced, [part](std::uint32_t i) { return part[i]; });
    } else {
      const ProgressPoint* points = points_->data();
      reduced = ColumnReduction::reduce(
          count, [at](std::size_t i) { return at[i]; },
          [points, series](std::size_t i) { return valueOf(Series(series), points[i]); }, from, to, columns);
    }
    reduced_.series[std::size_t(series)] = std::move(reduced);
  }
  return reduced_;
}
