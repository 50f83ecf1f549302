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

void ProgressColumns::setPoints(const std::vector<ProgressPoint>& points, const std::vector<double>& times,
                                bool sorted) {
  for (std::vector<float>& values : values_) values.resize(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    const ProgressPoint& p = points[i];
    values_[Hits][i] = float(p.run.hits);
    values_[MeanHits][i] = float(p.meanHits);
    values_[Best][i] = float(p.bestSoFar);
    values_[MissRate][i] = float(p.run.missRate() * 100);
    values_[MeanMissRate][i] = float(p.meanMissRate * 100);
  }
  key_.columns = -1;
  summaryWidth_ = 0;
  summary_ = {};
  if (!sorted || points.size() < std::size_t(SummaryColumns) * 8 || !(times.back() > times.front())) return;
  summaryWidth_ = (times.back() - times.front()) / SummaryColumns;
  for (int series = 0; series < SeriesCount; ++series) {
    const float* y = values_[std::size_t(series)].data();
    Summary& summary = summary_[std::size_t(series)];
    for (const ColumnExtremes& c : ColumnReduction::reduce(
             times.size(), [&times](std::size_t i) { return times[i]; }, [y](std::size_t i) { return y[i]; },
             times.front(), times.back(), SummaryColumns)) {
      const auto [low, high] = std::minmax(c.lowest, c.highest);
      for (const std::uint32_t i : {c.first, low, high, c.last})
        if (summary.indices.empty() || summary.indices.back() != i) {
          summary.indices.push_back(i);
          summary.times.push_back(times[i]);
          summary.values.push_back(y[i]);
        }
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
  // One walk per series: over the summary's points of the range, or over every run of it.
  for (int series = 0; series < SeriesCount; ++series) {
    const float* y = values_[std::size_t(series)].data();
    std::vector<ColumnExtremes> reduced;
    if (summed) {
      const Summary& summary = summary_[std::size_t(series)];
      const auto begin = std::lower_bound(summary.times.begin(), summary.times.end(), from);
      const auto end = std::upper_bound(begin, summary.times.end(), to);
      const std::size_t offset = std::size_t(begin - summary.times.begin());
      const double* when = summary.times.data() + offset;
      const float* value = summary.values.data() + offset;
      const std::uint32_t* part = summary.indices.data() + offset;
      reduced = ColumnReduction::reduce(
          std::size_t(end - begin), [when](std::size_t i) { return when[i]; },
          [value](std::size_t i) { return value[i]; }, from, to, columns);
      mapIndices(reduced, [part](std::uint32_t i) { return part[i]; });
    } else {
      reduced = ColumnReduction::reduce(
          count, [at](std::size_t i) { return at[i]; }, [y, first](std::size_t i) { return y[first + i]; }, from, to,
          columns);
      mapIndices(reduced, [first](std::uint32_t i) { return std::uint32_t(first + i); });
    }
    reduced_.series[std::size_t(series)] = std::move(reduced);
  }
  return reduced_;
}
