#include "chart3d/ChartIcons.h"

#include <QPainter>
#include <QPolygonF>

namespace ChartIcons {
namespace {

QColor arrowColour() { return QColor(0, 0, 128); }

QPixmap blank() {
  QPixmap pixmap(Size, Size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A filled triangle pointing left (dx < 0) or right, its tip at x.
void triangle(QPainter& p, qreal x, qreal dx) {
  const QPolygonF shape{QPointF(x, 8), QPointF(x - dx * 5, 3), QPointF(x - dx * 5, 13)};
  p.drawPolygon(shape);
}

// Arrows pointing left (direction -1) or right (+1), one or two, with or without a bar at the tip side.
QPixmap arrows(int direction, int count, bool bar) {
  QPixmap pixmap = blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(arrowColour(), 1));
  p.setBrush(arrowColour());
  const qreal dx = direction;
  // The tip of the first arrow, leaving room for the bar.
  qreal tip = direction < 0 ? (bar ? 5 : (count == 1 ? 5 : 3)) : (bar ? 11 : (count == 1 ? 11 : 13));
  if (bar) {
    const qreal barX = direction < 0 ? 2 : 12;
    p.fillRect(QRectF(barX, 3, 2, 10), arrowColour());
  }
  for (int i = 0; i < count; ++i) {
    triangle(p, tip, dx);
    tip -= dx * 5;
  }
  return pixmap;
}

}  // namespace

QPixmap first() { return arrows(-1, 2, true); }
QPixmap previous() { return arrows(-1, 1, false); }
QPixmap next() { return arrows(1, 1, false); }
QPixmap last() { return arrows(1, 2, true); }

QPixmap options() {
  QPixmap pixmap = blank();
  QPainter p(&pixmap);
  p.fillRect(QRect(1, 9, 3, 6), QColor(0, 0, 255));
  p.fillRect(QRect(5, 5, 3, 10), QColor(0, 0, 255));
  p.fillRect(QRect(5, 2, 3, 3), QColor(255, 0, 0));
  p.fillRect(QRect(9, 11, 3, 4), QColor(0, 0, 255));
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 128, 0), 2));
  p.drawPolyline(QPolygonF{QPointF(9, 5), QPointF(11, 8), QPointF(15, 1)});
  return pixmap;
}

QPixmap close() {
  QPixmap pixmap = blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(200, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
  p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
  return pixmap;
}

}  // namespace ChartIcons
