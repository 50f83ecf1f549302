#pragma once

#include <QString>

#include <optional>

#include "analysis/ChartPoint.h"

// What the 3D chart shows: the points behind a view and their title. The views
// without points (the worst ten, the ranking) give none.
struct ChartInput {
  std::optional<ChartPoints> points;
  QString title;
};
