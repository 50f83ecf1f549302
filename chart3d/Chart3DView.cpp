#include "chart3d/Chart3DView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <optional>

#include "chart3d/ChartGeometry.h"
#include "chart3d/ChartRenderer.h"

namespace {

// Milliseconds between two zoom steps.
constexpr int ZoomStepInterval = 15;
// A drag shorter than this on either axis is a click, not a gesture.
constexpr int MinimumDrag = 3;

}  // namespace

Chart3DView::Chart3DView(QWidget* parent) : QWidget(parent) {
  setMinimumSize(200, 150);
  zoomTimer_.setInterval(ZoomStepInterval);
  connect(&zoomTimer_, &QTimer::timeout, this, [this] {
    if (!zoomSteps_.empty()) zoomSteps_.erase(zoomSteps_.begin());
    if (zoomSteps_.empty()) zoomTimer_.stop();
    update();
  });
  model_.setZoomHandler([this] {
    Q_EMIT zoomed();
    update();
  });
  model_.setUndoZoomHandler([this] {
    zoomTimer_.stop();
    zoomSteps_.clear();
    Q_EMIT undoZoomed();
    update();
  });
  model_.setPageChangeHandler([this] {
    Q_EMIT pageChanged();
    update();
  });
}

void Chart3DView::undoZoom() { model_.undoZoom(); }

void Chart3DView::zoomToPixels(const QRect& rectangle) {
  const QRectF plot = plotArea();
  const chart3d::ChartGeometry geometry = chart3d::ChartRenderer(model_, font()).geometry(rect());
  const chart3d::AxisRect target = geometry.zoomTargetFor(QRectF(rectangle).translated(-plot.topLeft()));
  zoomSteps_ = model_.zoom(target);
  zoomTimer_.start();
  update();
}

QRectF Chart3DView::plotArea() const { return chart3d::ChartRenderer(model_, font()).plotArea(rect()); }

void Chart3DView::paintEvent(QPaintEvent*) {
  // The hint can change without the view knowing; every repaint shows the latest.
  if (toolTip() != model_.appearance().hint) setToolTip(model_.appearance().hint);

  QPainter painter(this);
  std::optional<chart3d::AxisRect> axes;
  if (!zoomSteps_.empty()) axes = zoomSteps_.front();
  chart3d::ChartRenderer(model_, font()).paint(painter, rect(), axes);

  if (dragging_ && !dragRect_.isEmpty()) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(dragRect_.adjusted(0, 0, -1, -1));
  }
}

void Chart3DView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  dragging_ = true;
  dragStart_ = event->position().toPoint();
  dragRect_ = QRect();
}

void Chart3DView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return QWidget::mouseMoveEvent(event);
  dragRect_ = QRect(dragStart_, event->position().toPoint()).normalized();
  update();
}

void Chart3DView::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  dragging_ = false;
  dragRect_ = QRect();
  const QPoint end = event->position().toPoint();
  const QPoint moved = end - dragStart_;
  if (moved.x() >= MinimumDrag && moved.y() >= MinimumDrag) {
    zoomToPixels(QRect(dragStart_, QSize(moved.x(), moved.y())));  // exactly start to end
  } else if (moved.x() <= -MinimumDrag || moved.y() <= -MinimumDrag) {
    undoZoom();
  }
  update();
}
