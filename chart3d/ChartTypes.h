#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// The plain values of the chart component: no behaviour, no window.
namespace chart3d {

// How a bar is drawn; the geometry is the same box for every style, the
// renderer shapes it (the numbers are the bar-style list's item indexes).
enum class BarStyle : std::uint8_t {
  RectangularBox = 0,
  GradientBox = 1,
  Pyramid = 2,
  InvertedPyramid = 3,
  Cylinder = 4,
  Ellipse = 5,
  Arrow = 6,
};

// A colour without QtGui (QRgb lives there).
struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb Blue{0, 0, 255};
inline constexpr Rgb Red{255, 0, 0};
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb LightYellow{255, 255, 128};
inline constexpr Rgb DarkGrey{32, 32, 32};

// One bar of a series; its bottom-axis position is its index in the series.
struct BarPoint {
  double value = 0;
  QString label;
};

struct BarSeries {
  QString title;
  Rgb colour;
  int barWidthPercent = 60;  // of the slot one position takes on the bottom axis
  bool stacked = true;       // drawn on top of the earlier stacked series at the same position
  BarStyle style = BarStyle::RectangularBox;
  bool marksVisible = true;  // the value written near the bar top
  int markOffset = 3;        // pixels above the bar top (negative: down inside the bar)
  std::vector<BarPoint> points;
};

// An axis range in axis units. On the bottom axis minimum and maximum are the
// outermost bar positions shown; the plot reaches half a slot beyond each.
struct AxisRange {
  double minimum = 0;
  double maximum = 0;
  friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

// A rectangle in axis units: the ranges of both axes.
struct AxisRect {
  AxisRange bottom;
  AxisRange left;
  friend bool operator==(const AxisRect&, const AxisRect&) = default;
};

}  // namespace chart3d
