#include "progress/ProgressChartView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainterPath>
#include <QTime>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "progress/TimeAxis.h"

using namespace Qt::StringLiterals;

namespace {

constexpr double ShortestSpan = 1.0 / 1440;  // a minute: the closest zoom
constexpr double ZoomPerNotch = 0.8;         // one wheel notch narrows the range to 80%
constexpr int HintReach = 12;                // pixels around the cursor a hinted run may be

const QColor HitsColor(60, 100, 190, 150);
const QColor MeanColor(230, 110, 20);
const QColor BestColor(30, 150, 60);
const QColor MissColor(200, 50, 50, 140);
const QColor MissMeanColor(130, 30, 130);

// 1, 2 or 5 times a power of ten: the step of at most `most` ticks over `span`.
double niceStep(double span, int most) {
  const double raw = span / std::max(1, most);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double m : {1.0, 2.0, 5.0})
    if (m * power >= raw * (1 - 1e-9)) return m * power;
  return 10 * power;
}

// Axis bounds on whole steps around [low, high], and the step.
struct Axis {
  double low = 0, high = 1, step = 1;
};
Axis axisAround(double low, double high, int pixels, int lineHeight, double smallestStep) {
  if (!(high > low)) high = low + smallestStep;
  const double room = (high - low) / 30;  // the highest and lowest off the frame
  low = low > 0 ? std::max(0.0, low - room) : low;
  high += room;
  const double step = std::max(smallestStep, niceStep(high - low, std::max(2, pixels / (lineHeight * 2))));
  Axis axis{std::floor(low / step) * step, std::ceil(high / step) * step, step};
  if (axis.high <= axis.low) axis.high = axis.low + step;
  return axis;
}

QString percentText(double value, double step) {
  return QString::number(value, 'f', step < 1 ? (step < 0.1 ? 2 : 1) : 0) + u'%';
}

}  // namespace

ProgressChartView::ProgressChartView(QWidget* parent) : QWidget(parent) {
  setObjectName(u"ProgressChart"_s);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ProgressChartView::setPoints(std::vector<ProgressPoint> points, int window, std::optional<TimeRange> span) {
  points_ = std::move(points);
  pointsChanged(window, span);
}

void ProgressChartView::setPoints(const std::function<void(std::vector<ProgressPoint>&)>& fill, int window,
                                  std::optional<TimeRange> span) {
  fill(points_);
  pointsChanged(window, span);
}

void ProgressChartView::pointsChanged(int window, std::optional<TimeRange> span) {
  window_ = std::max(1, window);
  times_.resize(points_.size());
  for (std::size_t i = 0; i < points_.size(); ++i) times_[i] = points_[i].run.when();
  sorted_ = std::is_sorted(times_.begin(), times_.end());
  columns_.setPoints(points_, times_, sorted_);
  if (span && span->to > span->from) {
    whole_ = *span;
  } else if (points_.empty()) {
    whole_ = {0, 1};
  } else {
    const auto [low, high] =
        sorted_ ? std::pair(times_.begin(), times_.end() - 1) : std::minmax_element(times_.begin(), times_.end());
    const double span = *high - *low;
    const double margin = span > 0 ? span * 0.02 : 0.5;
    whole_ = {*low - margin, *high + margin};
  }
  visible_ = whole_;
  update();
}

void ProgressChartView::setVisibleRange(TimeRange range) {
  const double wholeSpan = whole_.to - whole_.from;
  const double wanted = range.to - range.from;
  const double span = std::clamp(wanted, std::min(ShortestSpan, wholeSpan), wholeSpan);
  double from = span == wanted ? range.from : (range.from + range.to - span) / 2;
  from = std::clamp(from, whole_.from, whole_.to - span);
  const TimeRange next{from, from + span};
  if (next == visible_) return;
  visible_ = next;
  update();
}

void ProgressChartView::showWholeRange() { setVisibleRange(whole_); }

void ProgressChartView::zoom(double factor, double at) {
  const double from = at - (at - visible_.from) * factor;
  setVisibleRange({from, from + (visible_.to - visible_.from) * factor});
}

void ProgressChartView::paintChart(QPainter& painter, const QRect& area) const { paintInto(painter, area); }

QImage ProgressChartView::picture() const {
  QImage image(size(), QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  paintChart(painter, image.rect());
  return image;
}

ProgressChartView::Scales ProgressChartView::paintInto(QPainter& painter, const QRect& area) const {
  painter.save();
  painter.fillRect(area, palette().color(QPalette::Base));
  painter.setFont(font());
  const QFontMetrics metrics(font());
  const int line = metrics.height();
  const QColor text = palette().color(QPalette::Text);
  QColor grid = palette().color(QPalette::Mid);
  grid.setAlpha(90);

  // Legend rows above each plot, the hits' labels on the left, the days below.
  const int left = area.left() + metrics.horizontalAdvance(u"100.00%"_s) + line / 2;
  const int right = area.right() - line;
  const int top = area.top() + line * 3 / 2;
  const int bottom = area.bottom() - line * 2 - line / 2;
  const int gap = line * 2;
  const int hitsHeight = std::max(10, (bottom - top - gap) * 64 / 100);
  Scales s;
  s.hits = QRect(QPoint(left, top), QPoint(right, top + hitsHeight));
  s.miss = QRect(QPoint(left, s.hits.bottom() + gap), QPoint(right, std::max(s.hits.bottom() + gap + 10, bottom)));

  if (points_.empty()) {
    painter.setPen(text);
    painter.drawText(area, Qt::AlignCenter, u"この範囲に練習はありません"_s);
    painter.restore();
    return s;
  }

  const ProgressColumns::Reduced& r =
      columns_.reduce(times_, sorted_, visible_.from, visible_.to, std::max(1, s.hits.width()));
  const auto& hits = r.series[ProgressColumns::Hits];
  const auto& missRates = r.series[ProgressColumns::MissRate];

  // The value axes follow what is visible.
  double low = INFINITY, high = -INFINITY, missHigh = 0;
  const auto within = [&](const std::vector<ColumnExtremes>& columns, ProgressColumns::Series series, double& lo,
                          double& hi) {
    for (const ColumnExtremes& c : columns) {
      lo = std::min(lo, columns_.value(series, c.lowest));
      hi = std::max(hi, columns_.value(series, c.highest));
    }
  };
  within(hits, ProgressColumns::Hits, low, high);
  within(r.series[ProgressColumns::Best], ProgressColumns::Best, low, high);
  double unused = 0;
  within(missRates, ProgressColumns::MissRate, unused, missHigh);
  // The lines go on through a stretch without a run: from the runs on either side of it.
  for (const std::size_t i : {r.begin - 1, r.end})
    if (sorted_ && i < points_.size()) {
      for (const auto series : {ProgressColumns::MeanHits, ProgressColumns::Best}) {
        low = std::min(low, columns_.value(series, i));
        high = std::max(high, columns_.value(series, i));
      }
      missHigh = std::max(missHigh, columns_.value(ProgressColumns::MeanMissRate, i));
    }
  if (!(high >= low)) low = high = 0;
  const Axis hitsAxis = axisAround(low, high, s.hits.height(), line, 1);
  const Axis missAxis = axisAround(0, std::max(missHigh, 1.0), s.miss.height(), line, 0.01);
  s.hitsLow = hitsAxis.low, s.hitsHigh = hitsAxis.high, s.missLow = missAxis.low, s.missHigh = missAxis.high;

  const double span = visible_.to - visible_.from;
  const auto xOf = [&](double t) { return s.hits.left() + (t - visible_.from) / span * s.hits.width(); };
  const auto yIn = [](const QRect& plot, double v, double lo, double hi) {
    return plot.bottom() - (v - lo) / (hi - lo) * plot.height();
  };

  // Grid and labels: the values on the left, the times below the miss rate.
  painter.setPen(text);
  for (double v = hitsAxis.low; v <= hitsAxis.high + hitsAxis.step / 2; v += hitsAxis.step) {
    const double y = yIn(s.hits, v, hitsAxis.low, hitsAxis.high);
    painter.fillRect(QRectF(s.hits.left(), y, s.hits.width(), 1), grid);
    painter.drawText(QRectF(area.left(), y - line / 2.0, left - area.left() - line / 4, line),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(std::llround(v)));
  }
  for (double v = missAxis.low; v <= missAxis.high + missAxis.step / 2; v += missAxis.step) {
    const double y = yIn(s.miss, v, missAxis.low, missAxis.high);
    painter.fillRect(QRectF(s.miss.left(), y, s.miss.width(), 1), grid);
    painter.drawText(QRectF(area.left(), y - line / 2.0, left - area.left() - line / 4, line),
                     Qt::AlignRight | Qt::AlignVCenter, percentText(v, missAxis.step));
  }
  const int tickGap = line;
  for (const TimeAxis::Tick& tick :
       TimeAxis::ticks(visible_.from, visible_.to, s.hits.width(), metrics.horizontalAdvance(u"2026/12/07"_s) + tickGap,
                       metrics.horizontalAdvance(u"12月"_s) + tickGap, metrics.horizontalAdvance(u"2026年"_s) + tickGap,
                       metrics.horizontalAdvance(u"21:00"_s) + tickGap)) {
    const double x = xOf(tick.at);
    painter.fillRect(QRectF(x, s.hits.top(), 1, s.hits.height()), grid);
    painter.fillRect(QRectF(x, s.miss.top(), 1, s.miss.height() + line / 4), grid);
    const double half = metrics.horizontalAdvance(tick.label) / 2.0 + 1;
    const double middle = std::clamp(x, area.left() + half, area.right() - half);  // kept whole inside
    const QRectF under(middle - 100, s.miss.bottom() + line / 4, 200, line);
    painter.drawText(under, Qt::AlignHCenter | Qt::AlignTop, tick.label);
    if (!tick.second.isEmpty())
      painter.drawText(under.translated(0, line), Qt::AlignHCenter | Qt::AlignTop, tick.second);
  }

  // The runs: per column the lowest and the highest, bigger when they are few.
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const bool few = r.end - r.begin < std::size_t(s.hits.width() / 3);
  const auto drawPoints = [&](const QRect& plot, const std::vector<ColumnExtremes>& columns,
                              ProgressColumns::Series series, const Axis& axis, const QColor& color) {
    QList<QPointF> dots;
    dots.reserve(qsizetype(columns.size() * 2));
    for (const ColumnExtremes& c : columns)
      for (const std::uint32_t i : {c.lowest, c.highest})
        if (i == c.lowest || c.highest != c.lowest)
          dots.push_back({xOf(times_[i]), yIn(plot, columns_.value(series, i), axis.low, axis.high)});
    if (few) {
      painter.setPen(QPen(color, 5, Qt::SolidLine, Qt::RoundCap));
      painter.drawPoints(dots.data(), int(dots.size()));
      return;
    }
    // Many: small squares of whole pixels, filled the fast way.
    for (const QPointF& dot : dots) painter.fillRect(QRect(qRound(dot.x()) - 1, qRound(dot.y()) - 1, 2, 2), color);
  };
  // A line through the columns, joined to the runs just outside the visible
  // range (when the runs are in time order) so that it runs on to the edges.
  // Where columns follow each other, a column's part of the line (from where
  // the column before left off, through its lowest and highest) is one bar:
  // the same pixels as the line through every run, and no stroking. Between
  // columns further apart the line is drawn as such (stepped for the best).
  const auto drawLine = [&](const QRect& plot, ProgressColumns::Series series, const Axis& axis, const QColor& color,
                            bool steps) {
    const auto pointOf = [&](std::size_t i) {
      return QPointF(xOf(times_[i]), yIn(plot, columns_.value(series, i), axis.low, axis.high));
    };
    std::vector<QRect> bars;  // whole pixels: filled without antialiasing, the fast way
    QList<QLineF> joins;
    std::optional<QPointF> before;
    int beforeColumn = -2;
    const auto join = [&](QPointF to) {
      if (!before) return;
      if (!steps) return joins.push_back({*before, to});
      joins.push_back({*before, {to.x(), before->y()}});
      joins.push_back({{to.x(), before->y()}, to});
    };
    if (sorted_ && r.begin > 0) before = pointOf(r.begin - 1);
    for (const ColumnExtremes& c : r.series[series]) {
      const QPointF first = pointOf(c.first);
      double top = pointOf(c.highest).y(), bottom = pointOf(c.lowest).y();
      const bool follows = before && c.column == beforeColumn + 1;
      if (follows)
        top = std::min(top, before->y()), bottom = std::max(bottom, before->y());
      else
        join(first);
      if (follows || bottom - top > 0.5) {
        const int y = int(std::floor(top)) - 1;
        bars.push_back(QRect(plot.left() + c.column, y, 2, int(std::ceil(bottom)) + 1 - y));
      }
      before = pointOf(c.last);
      beforeColumn = c.column;
    }
    if (sorted_ && r.end < points_.size()) join(pointOf(r.end));
    for (const QRect& bar : bars) painter.fillRect(bar, color);
    painter.setPen(QPen(color, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLines(joins);
  };
  painter.setClipRect(s.hits.adjusted(-3, -3, 3, 3));
  drawPoints(s.hits, hits, ProgressColumns::Hits, hitsAxis, HitsColor);
  drawLine(s.hits, ProgressColumns::Best, hitsAxis, BestColor, true);
  drawLine(s.hits, ProgressColumns::MeanHits, hitsAxis, MeanColor, false);
  painter.setClipRect(s.miss.adjusted(-3, -3, 3, 3));
  drawPoints(s.miss, missRates, ProgressColumns::MissRate, missAxis, MissColor);
  drawLine(s.miss, ProgressColumns::MeanMissRate, missAxis, MissMeanColor, false);
  painter.restore();

  painter.setPen(grid.darker(150));
  painter.drawRect(s.hits);
  painter.drawRect(s.miss);

  // Legends above each plot.
  const auto legend = [&](QPoint at, std::initializer_list<std::pair<QColor, QString>> items, bool firstIsDots) {
    int x = at.x();
    bool dots = firstIsDots;
    for (const auto& [color, caption] : items) {
      const int mid = at.y() + line / 2;
      if (dots)
        painter.setPen(QPen(color, 5, Qt::SolidLine, Qt::RoundCap)), painter.drawPoint(x + line / 2, mid);
      else
        painter.setPen(QPen(color, 2)), painter.drawLine(x, mid, x + line, mid);
      dots = false;
      x += line + line / 3;
      painter.setPen(text);
      painter.drawText(QRect(x, at.y(), 1000, line), Qt::AlignLeft | Qt::AlignVCenter, caption);
      x += metrics.horizontalAdvance(caption) + line;
    }
  };
  const QString mean = u"平均（%1回）"_s.arg(window_);
  legend({s.hits.left(), area.top() + line / 4},
         {{HitsColor, u"打数"_s}, {MeanColor, mean}, {BestColor, u"最高記録"_s}}, true);
  legend({s.miss.left(), s.hits.bottom() + gap - line - line / 4}, {{MissColor, u"ミス率"_s}, {MissMeanColor, mean}},
         true);
  painter.restore();
  return s;
}

void ProgressChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  shown_ = paintInto(painter, rect());
  if (drag_ == Drag::Zoom && shown_) {
    QColor band = palette().color(QPalette::Highlight);
    band.setAlpha(60);
    const int a = std::clamp(std::min(pressed_.x(), dragged_.x()), shown_->hits.left(), shown_->hits.right());
    const int b = std::clamp(std::max(pressed_.x(), dragged_.x()), shown_->hits.left(), shown_->hits.right());
    painter.fillRect(QRect(a, shown_->hits.top(), b - a + 1, shown_->miss.bottom() - shown_->hits.top()), band);
  }
}

double ProgressChartView::timeAtPixel(int x) const {
  const QRect plot = shown_ ? shown_->hits : rect();
  return visible_.from + double(x - plot.left()) / std::max(1, plot.width()) * (visible_.to - visible_.from);
}

std::optional<QString> ProgressChartView::hintAt(QPoint position) const {
  if (!shown_ || points_.empty()) return std::nullopt;
  const bool inMiss = position.y() > shown_->hits.bottom() + (shown_->miss.top() - shown_->hits.bottom()) / 2;
  const QRect plot = inMiss ? shown_->miss : shown_->hits;
  const double low = inMiss ? shown_->missLow : shown_->hitsLow;
  const double high = inMiss ? shown_->missHigh : shown_->hitsHigh;
  const auto series = inMiss ? ProgressColumns::MissRate : ProgressColumns::Hits;
  const double from = timeAtPixel(position.x() - HintReach), to = timeAtPixel(position.x() + HintReach);
  std::size_t begin = 0, end = points_.size();
  if (sorted_) {
    begin = std::size_t(std::lower_bound(times_.begin(), times_.end(), from) - times_.begin());
    end = std::size_t(std::upper_bound(times_.begin(), times_.end(), to) - times_.begin());
  }
  const double pixelsPerDay = plot.width() / (visible_.to - visible_.from);
  std::optional<std::size_t> nearest;
  double nearestDistance = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (times_[i] < from || times_[i] > to) continue;
    const double dx = (times_[i] - timeAtPixel(position.x())) * pixelsPerDay;
    const double dy = plot.bottom() - (columns_.value(series, i) - low) / (high - low) * plot.height() - position.y();
    const double distance = dx * dx + dy * dy;
    if (!nearest || distance < nearestDistance) nearest = i, nearestDistance = distance;
  }
  if (!nearest) return std::nullopt;
  const ProgressPoint& p = points_[*nearest];
  return u"%1 %2  打数 %3  ミス %4  平均 %5"_s
      .arg(TimeAxis::dateOf(p.run.date).toString(u"yyyy/MM/dd"_s),
           QTime(0, 0).addSecs(p.run.second).toString(u"HH:mm:ss"_s))
      .arg(p.run.hits)
      .arg(p.run.misses)
      .arg(p.meanHits, 0, 'f', 1);
}

QFont ProgressChartView::japaneseFont(const QFont& like) {
  QFont font = like;
  font.setFamilies({u"ＭＳ Ｐゴシック"_s});
  return font;
}

bool ProgressChartView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    // As rich text in a Japanese font: the digits in the same font as the words.
    if (const std::optional<QString> hint = hintAt(help->pos()))
      QToolTip::showText(help->globalPos(),
                         u"<span style=\"font-family: '%1'; white-space: pre\">%2</span>"_s.arg(
                             japaneseFont(font()).family(), hint->toHtmlEscaped()),
                         this);
    else
      QToolTip::hideText();
    return true;
  }
  return QWidget::event(event);
}

void ProgressChartView::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  zoom(std::pow(ZoomPerNotch, notches), timeAtPixel(int(event->position().x())));
  event->accept();
}

void ProgressChartView::mousePressEvent(QMouseEvent* event) {
  const bool band = event->button() == Qt::RightButton ||
                    (event->button() == Qt::LeftButton && event->modifiers().testFlag(Qt::ControlModifier));
  if (band)
    drag_ = Drag::Zoom;
  else if (event->button() == Qt::LeftButton)
    drag_ = Drag::Pan;
  else
    return QWidget::mousePressEvent(event);
  pressed_ = dragged_ = event->position().toPoint();
  pressedRange_ = visible_;
  if (drag_ == Drag::Pan) setCursor(Qt::ClosedHandCursor);
}

void ProgressChartView::mouseMoveEvent(QMouseEvent* event) {
  dragged_ = event->position().toPoint();
  if (drag_ == Drag::Pan) {
    const int width = shown_ ? shown_->hits.width() : this->width();
    const double shift = -(dragged_.x() - pressed_.x()) * (pressedRange_.to - pressedRange_.from) / std::max(1, width);
    setVisibleRange({pressedRange_.from + shift, pressedRange_.to + shift});
  } else if (drag_ == Drag::Zoom) {
    update();
  }
}

void ProgressChartView::mouseReleaseEvent(QMouseEvent* event) {
  dragged_ = event->position().toPoint();
  if (drag_ == Drag::Zoom && std::abs(dragged_.x() - pressed_.x()) >= 4) {
    const double a = timeAtPixel(std::min(pressed_.x(), dragged_.x()));
    const double b = timeAtPixel(std::max(pressed_.x(), dragged_.x()));
    setVisibleRange({a, b});
  }
  drag_ = Drag::None;
  unsetCursor();
  update();
}

void ProgressChartView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) showWholeRange();
}

void ProgressChartView::keyPressEvent(QKeyEvent* event) {
  const double middle = (visible_.from + visible_.to) / 2;
  const double tenth = (visible_.to - visible_.from) / 10;
  switch (event->key()) {
    case Qt::Key_Home: showWholeRange(); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoom(ZoomPerNotch, middle); break;
    case Qt::Key_Minus: zoom(1 / ZoomPerNotch, middle); break;
    case Qt::Key_Left: setVisibleRange({visible_.from - tenth, visible_.to - tenth}); break;
    case Qt::Key_Right: setVisibleRange({visible_.from + tenth, visible_.to + tenth}); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}
