#include "calendar/CalendarMapView.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include "analysis/CalendarTexts.h"
#include "analysis/PracticeCalendar.h"
#include "calendar/CalendarRenderer.h"

CalendarMapView::CalendarMapView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("CalendarMap"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  colors_ = CalendarColors::forPalette(palette());
  relayout();
}

void CalendarMapView::setCalendar(const PracticeCalendar* calendar) {
  calendar_ = calendar;
  relayout();
  update();
}

void CalendarMapView::relayout() {
  int first = QDate::currentDate().year();
  int last = first;
  if (calendar_) {
    last = calendar_->today().year();
    first = calendar_->days().empty() ? last : std::min(calendar_->days().front().date.year(), last);
    if (!calendar_->days().empty()) last = std::max(last, calendar_->days().back().date.year());
  }
  const int lineHeight = fontMetrics().height();
  layout_ = CalendarLayout(first, last,
                           widthLimit_ > 0 ? CalendarLayout::Metrics::forLineHeight(lineHeight, widthLimit_)
                                           : CalendarLayout::Metrics::forLineHeight(lineHeight));
  setFixedSize(layout_.size());
  updateGeometry();
}

void CalendarMapView::setWidthLimit(int width) {
  widthLimit_ = width;
  relayout();
  update();
}

void CalendarMapView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) relayout();
  if (event->type() == QEvent::PaletteChange) colors_ = CalendarColors::forPalette(palette());
  QWidget::changeEvent(event);
}

void CalendarMapView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), palette().color(QPalette::Window));
  if (calendar_) CalendarRenderer::paint(painter, layout_, *calendar_, colors_, font(), event->rect());
}

bool CalendarMapView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && calendar_) {
    const auto* help = static_cast<QHelpEvent*>(event);
    if (const std::optional<QDate> date = layout_.dateAt(help->pos()))
      QToolTip::showText(help->globalPos(), CalendarTexts::dayTooltip(calendar_->day(*date), *date), this,
                         layout_.squareRect(*date));
    else
      QToolTip::hideText();
    return true;
  }
  return QWidget::event(event);
}

void CalendarMapView::mousePressEvent(QMouseEvent* event) {
  if (const std::optional<QDate> date = layout_.dateAt(event->position().toPoint())) Q_EMIT dayClicked(*date);
  QWidget::mousePressEvent(event);
}
