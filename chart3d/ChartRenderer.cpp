#include "chart3d/ChartRenderer.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <vector>

#include "chart3d/ChartModel.h"

namespace chart3d {

namespace {

// Pixels around the chart's parts.
constexpr double Margin = 10;
constexpr double LabelGap = 6;
constexpr double LegendBox = 12;
constexpr double LegendPadding = 6;
constexpr double MarkPadding = 3;

// Darker shades of a bar's colour for its receding faces.
constexpr int TopShade = 125;
constexpr int SideShade = 160;
constexpr int OutlineShade = 200;

const QColor BackgroundTop(176, 214, 250);  // light blue
const QColor BackgroundBottom(255, 255, 255);
const QColor PlainBackground(240, 240, 240);
const QColor WallEdge(128, 128, 128);
const QColor LabelColour(32, 32, 32);
const QColor MarkFill(255, 255, 225);
const QColor MarkEdge(140, 140, 140);

QColor toColour(Rgb rgb) { return {rgb.red, rgb.green, rgb.blue}; }

QPolygonF polygon(const std::vector<QPointF>& points) {
  return QPolygonF(QList<QPointF>(points.begin(), points.end()));
}

QPolygonF polygonOf(std::initializer_list<QPointF> points) { return QPolygonF(QList<QPointF>(points)); }

// The projection's offset from a bar's front to its back: the top face's
// receding edge (nothing in 2D).
QPointF backOf(const BarGeometry& bar) { return bar.topFace.size() == 4 ? bar.topFace[3] - bar.topFace[0] : QPointF(); }

void fill(QPainter& painter, const QPolygonF& shape, const QBrush& brush, const QColor& edge) {
  painter.setBrush(brush);
  painter.setPen(QPen(edge, 1));
  painter.drawPolygon(shape);
}

void paintBox(QPainter& painter, const BarGeometry& bar, const QColor& colour, bool gradient) {
  const QColor edge = colour.darker(OutlineShade);
  if (!bar.sideFace.empty()) fill(painter, polygon(bar.sideFace), colour.darker(SideShade), edge);
  if (!bar.topFace.empty()) fill(painter, polygon(bar.topFace), colour.darker(TopShade), edge);
  if (gradient) {
    QLinearGradient shade(bar.front.topLeft(), bar.front.bottomLeft());
    shade.setColorAt(0, colour.lighter(180));
    shade.setColorAt(1, colour);
    fill(painter, QPolygonF(bar.front), shade, edge);
  } else {
    fill(painter, QPolygonF(bar.front), colour, edge);
  }
}

// A pyramid standing on the bar's bottom face with its apex at the top face's centre.
void paintPyramid(QPainter& painter, const BarGeometry& bar, const QColor& colour) {
  const QColor edge = colour.darker(OutlineShade);
  const QRectF& f = bar.front;
  const QPointF back = backOf(bar);
  const QPointF apex = QPointF(f.center().x(), f.top()) + back / 2;
  if (!back.isNull())
    fill(painter, polygonOf({f.bottomRight(), f.bottomRight() + back, apex}), colour.darker(SideShade), edge);
  fill(painter, polygonOf({f.bottomLeft(), f.bottomRight(), apex}), colour, edge);
}

// A pyramid hanging from the bar's top face with its apex at the bottom face's centre.
void paintInvertedPyramid(QPainter& painter, const BarGeometry& bar, const QColor& colour) {
  const QColor edge = colour.darker(OutlineShade);
  const QRectF& f = bar.front;
  const QPointF back = backOf(bar);
  const QPointF apex = QPointF(f.center().x(), f.bottom()) + back / 2;
  if (!back.isNull())
    fill(painter, polygonOf({f.topRight(), f.topRight() + back, apex}), colour.darker(SideShade), edge);
  fill(painter, polygonOf({f.topLeft(), f.topRight(), apex}), colour, edge);
  if (!bar.topFace.empty()) fill(painter, polygon(bar.topFace), colour.darker(TopShade), edge);
}

// An upright cylinder in the middle of the bar's box, shaded round.
void paintCylinder(QPainter& painter, const BarGeometry& bar, const QColor& colour) {
  const QColor edge = colour.darker(OutlineShade);
  const QRectF& f = bar.front;
  const QPointF back = backOf(bar);
  const double radius = f.width() / 2;
  const double flatness = std::min(std::abs(back.y()) / 2, radius * 0.6);  // half the ends' height
  const QPointF top = QPointF(f.center().x(), f.top()) + back / 2;
  const QPointF bottom = QPointF(f.center().x(), f.bottom()) + back / 2;

  QLinearGradient round(QPointF(top.x() - radius, 0), QPointF(top.x() + radius, 0));
  round.setColorAt(0, colour.darker(140));
  round.setColorAt(0.35, colour.lighter(140));
  round.setColorAt(1, colour.darker(SideShade));
  QPainterPath body;
  body.setFillRule(Qt::WindingFill);
  body.addRect(QRectF(QPointF(top.x() - radius, top.y()), QPointF(bottom.x() + radius, bottom.y())));
  if (flatness > 0) body.addEllipse(bottom, radius, flatness);
  painter.setBrush(round);
  painter.setPen(QPen(edge, 1));
  painter.drawPath(body.simplified());
  if (flatness > 0) {
    painter.setBrush(colour.darker(TopShade));
    painter.drawEllipse(top, radius, flatness);
  }
}

// An ellipse filling the bar's front, swept back through the depth.
void paintEllipse(QPainter& painter, const BarGeometry& bar, const QColor& colour) {
  const QPointF back = backOf(bar);
  if (!back.isNull()) {
    const int steps = std::max(1, int(std::ceil(std::abs(back.x()))));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour.darker(SideShade));
    for (int step = steps; step > 0; --step) painter.drawEllipse(bar.front.translated(back * step / steps));
  }
  QRadialGradient shine(bar.front.center() - QPointF(bar.front.width() / 5, bar.front.height() / 5),
                        std::max(bar.front.width(), bar.front.height()) / 2);
  shine.setColorAt(0, colour.lighter(170));
  shine.setColorAt(1, colour);
  painter.setBrush(shine);
  painter.setPen(QPen(colour.darker(OutlineShade), 1));
  painter.drawEllipse(bar.front);
}

// An arrow pointing up: a shaft half the bar wide under a head as wide as the bar.
void paintArrow(QPainter& painter, const BarGeometry& bar, const QColor& colour) {
  const QRectF& f = bar.front;
  const double head = std::min(f.width() * 0.6, f.height());
  const double shaft = f.width() / 4;
  const double middle = f.center().x();
  const double neck = f.top() + head;
  const QPolygonF arrow = polygonOf({{middle - shaft, f.bottom()},
                                     {middle - shaft, neck},
                                     {f.left(), neck},
                                     {middle, f.top()},
                                     {f.right(), neck},
                                     {middle + shaft, neck},
                                     {middle + shaft, f.bottom()}});
  const QPointF back = backOf(bar);
  if (!back.isNull()) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour.darker(SideShade));
    painter.drawPolygon(arrow.translated(back));
    for (qsizetype i = 0; i < arrow.size(); ++i) {
      const QPointF a = arrow[i];
      const QPointF b = arrow[(i + 1) % arrow.size()];
      painter.drawPolygon(polygonOf({a, b, b + back, a + back}));
    }
  }
  fill(painter, arrow, colour, colour.darker(OutlineShade));
}

void paintBar(QPainter& painter, const BarGeometry& bar, BarStyle style, const QColor& colour) {
  switch (style) {
    case BarStyle::RectangularBox: paintBox(painter, bar, colour, false); break;
    case BarStyle::GradientBox: paintBox(painter, bar, colour, true); break;
    case BarStyle::Pyramid: paintPyramid(painter, bar, colour); break;
    case BarStyle::InvertedPyramid: paintInvertedPyramid(painter, bar, colour); break;
    case BarStyle::Cylinder: paintCylinder(painter, bar, colour); break;
    case BarStyle::Ellipse: paintEllipse(painter, bar, colour); break;
    case BarStyle::Arrow: paintArrow(painter, bar, colour); break;
  }
}

QString valueText(double value) { return QString::number(value, 'g', 10); }

}  // namespace

ChartRenderer::ChartRenderer(const ChartModel& model, QFont font) : model_(model), font_(std::move(font)) {}

AxisRect ChartRenderer::axesOr(const std::optional<AxisRect>& axes) const {
  return axes.value_or(AxisRect{model_.bottomAxisRange(), model_.leftAxisRange()});
}

QFont ChartRenderer::titleFont() const {
  const ChartAppearance& look = model_.appearance();
  QFont font = font_;
  if (!look.titleFontFamily.isEmpty()) font.setFamily(look.titleFontFamily);
  if (look.titlePixelSize > 0)
    font.setPixelSize(look.titlePixelSize);
  else if (font.pointSizeF() > 0)
    font.setPointSizeF(font.pointSizeF() * 1.2);
  else
    font.setPixelSize(int(std::lround(font.pixelSize() * 1.2)));
  font.setBold(look.titleBold);
  return font;
}

QFont ChartRenderer::markFont() const {
  QFont font = font_;
  if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * 0.9);
  return font;
}

double ChartRenderer::markRoom() const { return QFontMetricsF(markFont()).height() + 2 * MarkPadding; }

double ChartRenderer::legendWidth() const {
  const QFontMetricsF metrics(font_);
  double widest = 0;
  for (int s = 0; s < model_.seriesCount(); ++s)
    widest = std::max(widest, metrics.horizontalAdvance(model_.series(s).title));
  return LegendPadding + LegendBox + LegendPadding + widest + LegendPadding;
}

QRectF ChartRenderer::plotArea(const QRectF& bounds, const std::optional<AxisRect>& axes) const {
  const QFontMetricsF metrics(font_);
  const AxisRect ranges = axesOr(axes);

  double top = Margin;
  if (!model_.appearance().titleLines.isEmpty())
    top += QFontMetricsF(titleFont()).lineSpacing() * model_.appearance().titleLines.size() + LabelGap;
  bool marks = false;
  for (int s = 0; s < model_.seriesCount(); ++s) marks = marks || model_.series(s).marksVisible;
  if (marks)
    top += markRoom();
  else
    top += metrics.height() / 2;  // room for the top label's upper half

  // Wide enough for the longest left label this chart can show.
  const double largest =
      std::max({model_.largestStackedTotal(), std::abs(ranges.left.maximum), std::abs(ranges.left.minimum)});
  const double labelWidth = metrics.horizontalAdvance(valueText(std::floor(largest)));
  const double left = Margin + labelWidth + LabelGap;
  const double bottom = LabelGap + metrics.height() + Margin;
  const double right =
      model_.appearance().legendVisible && model_.seriesCount() > 0 ? legendWidth() + 2 * Margin : 2 * Margin;
  const QRectF plot = bounds.adjusted(left, top, -right, -bottom);
  return plot.isValid() ? plot : QRectF(bounds.center(), QSizeF(1, 1));
}

ChartGeometry ChartRenderer::geometry(const QRectF& bounds, const std::optional<AxisRect>& axes) const {
  const AxisRect ranges = axesOr(axes);
  const ChartAppearance& look = model_.appearance();
  return {plotArea(bounds, axes).size(), ranges.bottom, ranges.left, look.view3D, look.depthPercent};
}

void ChartRenderer::paint(QPainter& painter, const QRectF& bounds, const std::optional<AxisRect>& axes) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setFont(font_);

  const QRectF plot = plotArea(bounds, axes);
  const ChartGeometry g = geometry(bounds, axes);

  paintBackground(painter, bounds);
  paintTitle(painter, bounds);
  if (model_.appearance().legendVisible) paintLegend(painter, bounds, plot);

  painter.save();
  painter.translate(plot.topLeft());
  paintWalls(painter, g);
  paintLeftLabels(painter, g, plot);
  paintBottomLabels(painter, g, plot);
  painter.save();
  QPainterPath box;
  box.addPolygon(polygon(g.outline()));
  box.closeSubpath();
  painter.setClipPath(box, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  paintBars(painter, g);
  painter.restore();
  paintMarks(painter, g, plot, axes.has_value() || model_.isZoomed());
  painter.restore();

  painter.restore();
}

void ChartRenderer::paintBackground(QPainter& painter, const QRectF& bounds) const {
  if (model_.appearance().gradientBackground) {
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
    gradient.setColorAt(0, BackgroundTop);
    gradient.setColorAt(1, BackgroundBottom);
    painter.fillRect(bounds, gradient);
  } else {
    painter.fillRect(bounds, PlainBackground);
  }
}

void ChartRenderer::paintTitle(QPainter& painter, const QRectF& bounds) const {
  const QStringList& lines = model_.appearance().titleLines;
  if (lines.isEmpty()) return;
  const QFont font = titleFont();
  const QFontMetricsF metrics(font);
  painter.setFont(font);
  painter.setPen(toColour(model_.appearance().titleColour));
  double y = bounds.top() + Margin;
  for (const QString& line : lines) {
    painter.drawText(QRectF(bounds.left(), y, bounds.width(), metrics.lineSpacing()), Qt::AlignCenter, line);
    y += metrics.lineSpacing();
  }
  painter.setFont(font_);
}

void ChartRenderer::paintWalls(QPainter& painter, const ChartGeometry& geometry) const {
  const ChartAppearance& look = model_.appearance();
  painter.setPen(QPen(WallEdge, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(geometry.backWall());
  const std::vector<QPointF> left = geometry.leftWall();
  if (!left.empty()) fill(painter, polygon(left), toColour(look.leftWall), WallEdge);
  const std::vector<QPointF> bottom = geometry.bottomWall();
  if (!bottom.empty()) fill(painter, polygon(bottom), toColour(look.bottomWall), WallEdge);
}

void ChartRenderer::paintLeftLabels(QPainter& painter, const ChartGeometry& geometry, const QRectF& plot) const {
  const QFontMetricsF metrics(font_);
  const QRectF plane = geometry.frontPlane();
  painter.setPen(LabelColour);
  for (const LeftAxisLabel& label : geometry.leftLabels(ChartModel::LeftAxisIncrement)) {
    // Labels of a zoomed range may fall outside the plot; keep those within it.
    if (label.y < plane.top() - 0.5 || label.y > plane.bottom() + 0.5) continue;
    const QRectF place(-plot.left(), label.y - metrics.height() / 2, plot.left() + plane.left() - LabelGap,
                       metrics.height());
    painter.drawText(place, Qt::AlignRight | Qt::AlignVCenter, valueText(label.value));
  }
}

void ChartRenderer::paintBottomLabels(QPainter& painter, const ChartGeometry& geometry, const QRectF& plot) const {
  const QFontMetricsF metrics(font_);
  const double y = plot.height() + LabelGap;
  const double width = geometry.frontPlane().width();
  painter.setPen(LabelColour);
  double freeFrom = -plot.left();  // labels that would overlap the previous one are left out
  for (const BottomAxisLabel& label : geometry.bottomLabels()) {
    const QString text = model_.bottomAxisLabel(label.position);
    if (text.isEmpty() || label.x < 0 || label.x > width) continue;
    const double textWidth = metrics.horizontalAdvance(text);
    const double left = label.x - textWidth / 2;
    if (left < freeFrom) continue;
    painter.drawText(QRectF(left, y, textWidth, metrics.height()), Qt::AlignCenter, text);
    freeFrom = left + textWidth + metrics.averageCharWidth();
  }
}

void ChartRenderer::paintBars(QPainter& painter, const ChartGeometry& geometry) const {
  for (const BarGeometry& bar : geometry.bars(model_)) {
    const BarSeries& series = model_.series(bar.series);
    if (bar.front.height() <= 0 && bar.front.width() <= 0) continue;
    paintBar(painter, bar, series.style, toColour(series.colour));
  }
}

void ChartRenderer::paintMarks(QPainter& painter, const ChartGeometry& geometry, const QRectF& plot,
                               bool zoomed) const {
  const QFont font = markFont();
  const QFontMetricsF metrics(font);
  // Only bars whose top is inside the plot get a mark (a zoom can cut the rest).
  std::vector<MarkRequest> requests;
  QStringList texts;
  for (const BarGeometry& bar : geometry.bars(model_)) {
    const BarSeries& series = model_.series(bar.series);
    if (!series.marksVisible || !bar.topShown) continue;
    const QString text = valueText(series.points.at(bar.position).value);
    requests.push_back(
        {bar.markAnchor, QSizeF(metrics.horizontalAdvance(text) + 2 * MarkPadding, metrics.height() + MarkPadding)});
    texts.append(text);
  }
  // The plot and the strip kept above it for the tallest bars: off the axis
  // labels, the title and the legend. Zoomed, the walls: a bar reaching
  // above them is cut there and has no mark, and the marks of the bars below
  // stay inside with them.
  const double above = zoomed ? 0 : markRoom();
  const QRectF area(0, -above, plot.width(), plot.height() + above);
  const std::vector<std::optional<QRectF>> boxes = ChartGeometry::placeMarks(requests, area);
  painter.setFont(font);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (!boxes[i]) continue;
    painter.setPen(QPen(MarkEdge, 1));
    painter.setBrush(MarkFill);
    painter.drawRect(*boxes[i]);
    painter.setPen(Qt::black);
    painter.drawText(*boxes[i], Qt::AlignCenter, texts.at(qsizetype(i)));
  }
  painter.setFont(font_);
}

void ChartRenderer::paintLegend(QPainter& painter, const QRectF& bounds, const QRectF& plot) const {
  if (model_.seriesCount() == 0) return;
  const QFontMetricsF metrics(font_);
  const double row = std::max(metrics.lineSpacing(), LegendBox) + 4;
  const QRectF frame(bounds.right() - Margin - legendWidth(), plot.top(), legendWidth(),
                     row * model_.seriesCount() + 2 * LegendPadding - 4);
  painter.setPen(QPen(WallEdge, 1));
  painter.setBrush(Qt::white);
  painter.drawRect(frame);
  for (int s = 0; s < model_.seriesCount(); ++s) {
    const BarSeries& series = model_.series(s);
    const double top = frame.top() + LegendPadding + s * row;
    const QRectF box(frame.left() + LegendPadding, top + (row - 4 - LegendBox) / 2, LegendBox, LegendBox);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(toColour(series.colour));
    painter.drawRect(box);
    painter.setPen(LabelColour);
    painter.drawText(QRectF(box.right() + LegendPadding, top, frame.right() - box.right() - LegendPadding, row - 4),
                     Qt::AlignLeft | Qt::AlignVCenter, series.title);
  }
}

}  // namespace chart3d
