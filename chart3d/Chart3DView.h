#pragma once

#include <QTimer>
#include <QWidget>

#include <vector>

#include "chart3d/ChartModel.h"

// The chart component as a widget: it paints its ChartModel (through
// ChartGeometry and ChartRenderer), zooms into a rectangle dragged with the
// left mouse button (animated in 12 steps), undoes the zoom on a drag to the
// upper left, and shows the model's hint as its tooltip. Panning is off.
class Chart3DView : public QWidget {
  Q_OBJECT
 public:
  explicit Chart3DView(QWidget* parent = nullptr);

  chart3d::ChartModel& model() { return model_; }
  const chart3d::ChartModel& model() const { return model_; }

  // Undo zoom as an operation (the undo gesture does the same).
  void undoZoom();
  // Zoom into a rectangle of widget pixels, as the drag does.
  void zoomToPixels(const QRect& rectangle);

  // The plot area inside the margins for title, legend and labels.
  QRectF plotArea() const;

 Q_SIGNALS:
  void zoomed();       // MinChartZoom
  void undoZoomed();   // MinChartUndoZoom, on every request
  void pageChanged();  // MinChartPageChange

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  chart3d::ChartModel model_;
  QTimer zoomTimer_;
  std::vector<chart3d::AxisRect> zoomSteps_;
  QPoint dragStart_;
  QRect dragRect_;
  bool dragging_ = false;
};
