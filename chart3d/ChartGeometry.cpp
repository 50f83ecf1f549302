#include "chart3d/ChartGeometry.h"

#include "chart3d/ChartModel.h"

#include <algorithm>
#include <cmath>

namespace chart3d {

namespace {

// Labels and visible positions tolerate rounding in ranges met by arithmetic.
constexpr double Tolerance = 1e-9;

double depthFor(QSizeF plotSize, bool view3D, int depthPercent) {
  if (!view3D) return 0;
  return std::min(plotSize.width(), plotSize.height()) / 2 * depthPercent / 100.0;
}

}  // namespace

ChartGeometry::ChartGeometry(QSizeF plotSize, AxisRange bottom, AxisRange left, bool view3D, int depthPercent)
    : plotSize_(plotSize), bottom_(bottom), left_(left), depth_(depthFor(plotSize, view3D, depthPercent)) {}

ChartGeometry ChartGeometry::forModel(const ChartModel& model, QSizeF plotSize) {
  const ChartAppearance& look = model.appearance();
  return {plotSize, model.bottomAxisRange(), model.leftAxisRange(), look.view3D, look.depthPercent};
}

QRectF ChartGeometry::frontPlane() const {
  return {0, depth_, plotSize_.width() - depth_, plotSize_.height() - depth_};
}

QRectF ChartGeometry::backWall() const { return frontPlane().translated(depth_, -depth_); }

std::vector<QPointF> ChartGeometry::leftWall() const {
  if (depth_ <= 0) return {};
  const QRectF plane = frontPlane();
  return receding(plane.bottomLeft(), plane.topLeft());
}

std::vector<QPointF> ChartGeometry::bottomWall() const {
  if (depth_ <= 0) return {};
  const QRectF plane = frontPlane();
  return receding(plane.bottomLeft(), plane.bottomRight());
}

std::vector<QPointF> ChartGeometry::outline() const {
  const QRectF plane = frontPlane();
  const QRectF back = backWall();
  return {plane.topLeft(),    back.topLeft(),      back.topRight(),
          back.bottomRight(), plane.bottomRight(), plane.bottomLeft()};
}

// A range narrower than one slot still gets one, so that nothing divides by zero.
double ChartGeometry::slotUnits() const { return std::max(bottom_.maximum - bottom_.minimum + 1, Tolerance); }

double ChartGeometry::leftSpan() const {
  const double span = left_.maximum - left_.minimum;
  return span > 0 ? span : 1;
}

double ChartGeometry::slotWidth() const { return frontPlane().width() / slotUnits(); }

double ChartGeometry::xOf(double position) const { return (position - bottom_.minimum + 0.5) * slotWidth(); }

double ChartGeometry::yOf(double value) const {
  const QRectF plane = frontPlane();
  return plane.bottom() - (value - left_.minimum) / leftSpan() * plane.height();
}

double ChartGeometry::positionAt(double x) const { return x / slotWidth() + bottom_.minimum - 0.5; }

double ChartGeometry::valueAt(double y) const {
  const QRectF plane = frontPlane();
  return (plane.bottom() - y) / plane.height() * leftSpan() + left_.minimum;
}

AxisRect ChartGeometry::zoomTargetFor(const QRectF& pixels) const {
  const QRectF r = pixels.normalized();
  const AxisRange bottom{positionAt(r.left()) + 0.5, positionAt(r.right()) - 0.5};
  const AxisRange left{valueAt(r.bottom()), valueAt(r.top())};
  return {bottom, left};
}

std::vector<QPointF> ChartGeometry::receding(QPointF from, QPointF to) const {
  const QPointF back(depth_, -depth_);
  return {from, to, to + back, from + back};
}

BarGeometry ChartGeometry::bar(int position, double base, double top, int barWidthPercent, int markOffset) const {
  BarGeometry g;
  g.position = position;
  const QRectF plane = frontPlane();
  const double width = slotWidth() * barWidthPercent / 100.0;
  const double centre = xOf(position);
  const double topY = yOf(top);
  // Only the part inside the box is drawn. The faces recede from the cut
  // front, so a zoomed bar stops at the left wall and on the floor instead of
  // reaching over them, and one cut at the ceiling gets its lid there.
  const auto acrossPlane = [&plane](double x) { return std::clamp(x, plane.left(), plane.right()); };
  const auto upPlane = [&plane](double y) { return std::clamp(y, plane.top(), plane.bottom()); };
  g.front = QRectF(QPointF(acrossPlane(centre - width / 2), upPlane(topY)),
                   QPointF(acrossPlane(centre + width / 2), upPlane(yOf(base))));
  if (depth_ > 0) {
    g.topFace = receding(g.front.topLeft(), g.front.topRight());
    g.sideFace = receding(g.front.topRight(), g.front.bottomRight());
  }
  g.markAnchor = QPointF(centre, topY - markOffset);
  g.topShown = plane.adjusted(-0.5, -0.5, 0.5, 0.5).contains(QPointF(centre, topY));
  return g;
}

std::vector<BarGeometry> ChartGeometry::bars(const ChartModel& model) const {
  // Positions whose slot overlaps minimum - 0.5 .. maximum + 0.5.
  const int first = std::max(0, int(std::floor(bottom_.minimum - 1 + Tolerance)) + 1);
  const int last = int(std::ceil(bottom_.maximum + 1 - Tolerance)) - 1;
  std::vector<BarGeometry> result;
  for (int position = first; position <= last; ++position) {
    for (int s = 0; s < model.seriesCount(); ++s) {
      const BarSeries& series = model.series(s);
      if (position >= static_cast<int>(series.points.size())) continue;
      const double base = model.stackedBase(s, position);
      const double top = model.stackedTop(s, position);
      // A bar beside the visible slots, or wholly below or above the visible
      // values (a zoom), has nothing inside the box. A bar of no height on
      // the floor still shows.
      const double halfWidth = series.barWidthPercent / 200.0;
      if (position + halfWidth <= bottom_.minimum - 0.5 + Tolerance ||
          position - halfWidth >= bottom_.maximum + 0.5 - Tolerance)
        continue;
      if (std::max(base, top) < left_.minimum - Tolerance || std::min(base, top) > left_.maximum + Tolerance) continue;
      BarGeometry g = bar(position, base, top, series.barWidthPercent, series.markOffset);
      g.series = s;
      result.push_back(std::move(g));
    }
  }
  return result;
}

std::vector<std::optional<QRectF>> ChartGeometry::placeMarks(const std::vector<MarkRequest>& marks,
                                                             const QRectF& area) {
  std::vector<std::optional<QRectF>> placed;
  placed.reserve(marks.size());
  std::vector<QRectF> taken;
  for (const MarkRequest& mark : marks) {
    QRectF box(mark.anchor.x() - mark.size.width() / 2, mark.anchor.y() - mark.size.height(), mark.size.width(),
               mark.size.height());
    // Right and bottom first: a box larger than the area keeps its top left corner in it.
    box.moveRight(std::min(box.right(), area.right()));
    box.moveBottom(std::min(box.bottom(), area.bottom()));
    box.moveLeft(std::max(box.left(), area.left()));
    box.moveTop(std::max(box.top(), area.top()));
    // Boxes that only touch may both stay.
    const QRectF core = box.adjusted(Tolerance, Tolerance, -Tolerance, -Tolerance);
    if (std::any_of(taken.begin(), taken.end(), [&core](const QRectF& other) { return other.intersects(core); })) {
      placed.emplace_back();
      continue;
    }
    taken.push_back(box);
    placed.emplace_back(box);
  }
  return placed;
}

std::vector<BottomAxisLabel> ChartGeometry::bottomLabels() const {
  std::vector<BottomAxisLabel> labels;
  const int first = int(std::ceil(bottom_.minimum - 0.5 - Tolerance));
  const int last = int(std::floor(bottom_.maximum + 0.5 + Tolerance));
  for (int position = first; position <= last; ++position) labels.push_back({position, xOf(position)});
  return labels;
}

std::vector<LeftAxisLabel> ChartGeometry::leftLabels(int increment) const {
  std::vector<LeftAxisLabel> labels;
  if (increment <= 0) return labels;
  const double first = std::ceil(left_.minimum / increment - Tolerance) * increment;
  for (double value = first; value <= left_.maximum + Tolerance; value += increment)
    labels.push_back({value, yOf(value)});
  return labels;
}

}  // namespace chart3d
