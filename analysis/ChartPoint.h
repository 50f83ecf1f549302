#pragma once

#include <QString>

#include <vector>

// One bar of the 3D chart: a record update or a group average.
struct ChartPoint {
  QString label;
  int hits = 0;
  int misses = 0;
};

// Every point of a pass, in order; the 3D chart window pages through all of them.
using ChartPoints = std::vector<ChartPoint>;
