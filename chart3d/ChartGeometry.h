#pragma once

#include "chart3d/ChartTypes.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>
#include <vector>

namespace chart3d {

class ChartModel;

// One stacked bar in plot pixels, cut to the box the axis ranges show (a zoom
// cuts bars at the left wall, the right edge, the floor and the ceiling). In
// 3D the top and side faces are parallelograms (four corners, clockwise from
// the front's top left or top right) receding from the cut front; in 2D both
// are empty.
struct BarGeometry {
  int series = 0;
  int position = 0;
  QRectF front;
  std::vector<QPointF> topFace;
  std::vector<QPointF> sideFace;
  QPointF markAnchor;    // bottom centre of the value mark: the bar's own top edge, raised by the mark offset
  bool topShown = true;  // the bar's own top (at its centre) lies in the front plane: a value mark may go there
};

// A value mark to place: a box of `size` whose bottom edge is centred on `anchor`.
struct MarkRequest {
  QPointF anchor;
  QSizeF size;
};

struct BottomAxisLabel {
  int position = 0;
  double x = 0;  // on the plot's bottom edge
};

struct LeftAxisLabel {
  double value = 0;
  double y = 0;  // on the front plane's left edge
};

// Where things go in the plot area: pixels relative to the plot's top-left
// corner, y down. The widget places the plot inside its margins (title,
// legend, axis labels) and translates.
//
// Projection: oblique, 45 degrees. In 3D the depth offset is
// depthPercent / 100 × half the plot's smaller side, equally to the right and
// up (dx = dy = depth()). The front plane is the plot less that offset on the
// right and at the top; the back walls are the front plane moved by
// (+depth, -depth). Every bar is as deep as the whole chart.
//
// Bottom axis: the range minimum..maximum holds (maximum - minimum + 1)
// slots of equal width, position p centred in its slot (the plot reaches half
// a slot beyond the outermost positions). A bar's front is barWidthPercent of
// the slot wide, centred on its position, and cut to the front plane. Left
// axis: linear, minimum at the plot's bottom edge, maximum at the front
// plane's top edge.
class ChartGeometry {
 public:
  ChartGeometry(QSizeF plotSize, AxisRange bottom, AxisRange left, bool view3D, int depthPercent);
  static ChartGeometry forModel(const ChartModel& model, QSizeF plotSize);

  double depth() const { return depth_; }
  QRectF frontPlane() const;
  double slotWidth() const;
  // The walls: the back wall is the front plane moved back by the depth (the
  // whole plot in 2D); the left and bottom walls join it to the front plane's
  // left and bottom edges (four corners each, empty in 2D).
  QRectF backWall() const;
  std::vector<QPointF> leftWall() const;
  std::vector<QPointF> bottomWall() const;
  // The outline of the whole box (front plane, walls and depth): what bars are
  // clipped to. Six corners clockwise from the front plane's top left.
  std::vector<QPointF> outline() const;

  // Axis units to pixels and back.
  double xOf(double position) const;
  double yOf(double value) const;
  double positionAt(double x) const;
  double valueAt(double y) const;
  // The axis ranges that show exactly the given pixel rectangle (a dragged
  // zoom rectangle, either corner order) when applied to both axes.
  AxisRect zoomTargetFor(const QRectF& pixels) const;

  // The bars of every point that reaches into the visible ranges, in drawing
  // order: position by position from the left, series by series. Bars wholly
  // outside (beside, below or above what a zoom shows) are left out.
  std::vector<BarGeometry> bars(const ChartModel& model) const;
  BarGeometry bar(int position, double base, double top, int barWidthPercent, int markOffset) const;

  // Where the value marks go: each box is moved inside `area` (so that it
  // covers no axis label around the plot), and a box that would overlap one
  // placed before it is left out (nullopt), as the bottom labels are. One
  // answer per request, in order.
  static std::vector<std::optional<QRectF>> placeMarks(const std::vector<MarkRequest>& marks, const QRectF& area);

  // One label per integer position in the visible range.
  std::vector<BottomAxisLabel> bottomLabels() const;
  // One label per multiple of `increment` in the visible range.
  std::vector<LeftAxisLabel> leftLabels(int increment) const;

 private:
  double slotUnits() const;
  double leftSpan() const;
  std::vector<QPointF> receding(QPointF from, QPointF to) const;

  QSizeF plotSize_;
  AxisRange bottom_;
  AxisRange left_;
  double depth_ = 0;
};

}  // namespace chart3d
