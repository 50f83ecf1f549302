#pragma once

#include <QFont>
#include <QRectF>

#include <optional>

#include "chart3d/ChartGeometry.h"
#include "chart3d/ChartTypes.h"

class QPainter;

namespace chart3d {

class ChartModel;

// Paints a ChartModel with a QPainter into a rectangle of any paint device:
// the gradient background, the walls, the axis labels, the title lines, the
// legend, the stacked bars in their styles and the value marks. Every position
// comes from ChartGeometry; this class only chooses colours, shapes and text
// places around the plot.
class ChartRenderer {
 public:
  explicit ChartRenderer(const ChartModel& model, QFont font = QFont());

  // The plot inside `bounds`, less the margins for the title, the legend and
  // the axis labels. `axes` (default: the model's) only widens the left
  // margin when its labels are wider.
  QRectF plotArea(const QRectF& bounds, const std::optional<AxisRect>& axes = std::nullopt) const;
  // The geometry of the plot inside `bounds` with the model's axes or `axes`.
  ChartGeometry geometry(const QRectF& bounds, const std::optional<AxisRect>& axes = std::nullopt) const;

  // Paints the whole chart into `bounds`, with the model's axis ranges or, while
  // a zoom plays, with `axes` instead. Zoomed (or zooming), the value marks
  // stay inside the walls.
  void paint(QPainter& painter, const QRectF& bounds, const std::optional<AxisRect>& axes = std::nullopt) const;

 private:
  AxisRect axesOr(const std::optional<AxisRect>& axes) const;
  QFont titleFont() const;
  QFont markFont() const;
  double markRoom() const;  // the strip kept above the plot for the marks of the tallest bars
  double legendWidth() const;

  void paintBackground(QPainter& painter, const QRectF& bounds) const;
  void paintTitle(QPainter& painter, const QRectF& bounds) const;
  void paintWalls(QPainter& painter, const ChartGeometry& geometry) const;
  void paintLeftLabels(QPainter& painter, const ChartGeometry& geometry, const QRectF& plot) const;
  void paintBottomLabels(QPainter& painter, const ChartGeometry& geometry, const QRectF& plot) const;
  void paintBars(QPainter& painter, const ChartGeometry& geometry) const;
  void paintMarks(QPainter& painter, const ChartGeometry& geometry, const QRectF& plot, bool zoomed) const;
  void paintLegend(QPainter& painter, const QRectF& bounds, const QRectF& plot) const;

  const ChartModel& model_;
  QFont font_;
};

}  // namespace chart3d
