#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "analysis/ColumnReduction.h"
#include "analysis/ProgressSeries.h"

// The progress chart's five series reduced to pixel columns for one visible
// time range and width (ColumnReduction), kept until the range, the width or
// the points change: a repaint that moves nothing walks no run again. When
// the runs' times never go back, only the visible stretch of them is walked:
// each column's runs are found by halving and walked once for all five
// series, reading the points themselves (no copy of their values is made).
class ProgressColumns {
 public:
  enum Series { Hits, MeanHits, Best, MissRate, MeanMissRate, SeriesCount };

  struct Reduced {
    std::array<std::vector<ColumnExtremes>, SeriesCount> series;  // indices into the whole points
    std::size_t begin = 0, end = 0;  // the stretch walked: the visible runs when sorted, else all
  };

  // Keeps `points` (which must outlive their use here) and forgets what was
  // kept. Runs in time order (`times` never goes back) are summed up once into
  // SummaryColumns columns over their whole time: a range whose pixel columns
  // are each at least as wide as one of those walks the summary's few points
  // (each column's first, lowest, highest and last) instead of every run.
  void setPoints(const std::vector<ProgressPoint>& points, const std::vector<double>& times, bool sorted);
  static constexpr int SummaryColumns = 8192;
  // Point i's value in a series (held as a float); the miss rates in percent.
  double value(Series series, std::size_t i) const { return valueOf(series, (*points_)[i]); }
  static float valueOf(Series series, const ProgressPoint& p) {
    switch (series) {
      case Hits: return float(p.run.hits);
      case MeanHits: return float(p.meanHits);
      case Best: return float(p.bestSoFar);
      case MissRate: return float(p.run.missRate() * 100);
      case MeanMissRate: return float(p.meanMissRate * 100);
      case SeriesCount: break;
    }
    return 0;
  }

  // The columns of the points at `times` (each point's when(); `sorted` when
  // they never go back) within [from, to] on `columns` columns.
  const Reduced& reduce(const std::vector<double>& times, bool sorted, double from, double to, int columns);

 private:
  struct Key {
    double from = 0, to = 0;
    int columns = -1;
    bool operator==(const Key&) const = default;
  };
  // The five series' extremes of each stretch of runs in time order, in one walk over them.
  std::array<std::vector<ColumnExtremes>, SeriesCount> extremesOf(const std::vector<ColumnStretch>& stretches,
                                                                  std::size_t first) const;

  const std::vector<ProgressPoint>* points_ = nullptr;
  // Per series the points that stand for the rest: their indices, times and values side by side.
  struct Summary {
    std::vector<std::uint32_t> indices;
    std::vector<double> times;
    std::vector<float> values;
  };
  std::array<Summary, SeriesCount> summary_;
  double summaryWidth_ = 0;  // the time one summary column spans (0: no summary)
  Key key_;
  Reduced reduced_;
};
