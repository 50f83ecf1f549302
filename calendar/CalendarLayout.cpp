#include "calendar/CalendarLayout.h"

#include <algorithm>

CalendarLayout::Metrics CalendarLayout::Metrics::forLineHeight(int lineHeight) {
  Metrics m;
  m.square = std::max(8, lineHeight * 3 / 4);
  m.gap = std::max(2, m.square / 5);
  m.weekdayWidth = lineHeight + m.gap * 2;
  m.yearHeight = lineHeight + 4;
  m.monthHeight = lineHeight + 2;
  m.blockGap = lineHeight;
  m.margin = std::max(4, lineHeight / 3);
  return m;
}

CalendarLayout::Metrics CalendarLayout::Metrics::forLineHeight(int lineHeight, int width) {
  Metrics m = forLineHeight(lineHeight);
  while (m.square > MinSquare && CalendarLayout(0, 0, m).size().width() > width) {
    --m.square;
    m.gap = std::max(2, m.square / 5);
  }
  return m;
}

CalendarLayout::CalendarLayout(int firstYear, int lastYear, const Metrics& metrics)
    : firstYear_(firstYear), lastYear_(std::max(firstYear, lastYear)), metrics_(metrics) {}

int CalendarLayout::rowOf(QDate date) { return date.dayOfWeek() % 7; }  // Qt: Monday 1 ... Sunday 7

int CalendarLayout::columnOf(QDate date) {
  const int firstRow = rowOf(QDate(date.year(), 1, 1));
  return (date.dayOfYear() - 1 + firstRow) / 7;
}

int CalendarLayout::blockHeight() const { return metrics_.yearHeight + metrics_.monthHeight + 7 * pitch(); }

int CalendarLayout::blockTop(int year) const {
  return metrics_.margin + (lastYear_ - year) * (blockHeight() + metrics_.blockGap);
}

int CalendarLayout::squaresLeft() const { return metrics_.margin + metrics_.weekdayWidth; }

QSize CalendarLayout::size() const {
  const int years = lastYear_ - firstYear_ + 1;
  if (years <= 0) return {2 * metrics_.margin, 2 * metrics_.margin};
  return {squaresLeft() + MostColumns * pitch() + metrics_.margin,
          2 * metrics_.margin + years * blockHeight() + (years - 1) * metrics_.blockGap};
}

QRect CalendarLayout::blockRect(int year) const {
  if (year < firstYear_ || year > lastYear_) return {};
  return {metrics_.margin, blockTop(year), size().width() - 2 * metrics_.margin, blockHeight()};
}

QRect CalendarLayout::squareRect(QDate date) const {
  if (!date.isValid() || date.year() < firstYear_ || date.year() > lastYear_) return {};
  const int top = blockTop(date.year()) + metrics_.yearHeight + metrics_.monthHeight;
  return {squaresLeft() + columnOf(date) * pitch(), top + rowOf(date) * pitch(), metrics_.square, metrics_.square};
}

std::optional<QDate> CalendarLayout::dateAt(QPoint point) const {
  const int left = point.x() - squaresLeft();
  if (left < 0 || left % pitch() >= metrics_.square) return std::nullopt;
  const int column = left / pitch();
  if (column >= MostColumns) return std::nullopt;
  const int fromTop = point.y() - metrics_.margin;
  if (fromTop < 0) return std::nullopt;
  const int block = fromTop / (blockHeight() + metrics_.blockGap);
  const int year = lastYear_ - block;
  if (year < firstYear_) return std::nullopt;
  const int inSquares =
      fromTop - block * (blockHeight() + metrics_.blockGap) - metrics_.yearHeight - metrics_.monthHeight;
  if (inSquares < 0 || inSquares >= 7 * pitch() || inSquares % pitch() >= metrics_.square) return std::nullopt;
  const int row = inSquares / pitch();
  const QDate first(year, 1, 1);
  const QDate date = first.addDays(column * 7 + row - rowOf(first));
  if (date.year() != year) return std::nullopt;  // before 1 January or after 31 December in the outer weeks
  return date;
}

QPoint CalendarLayout::yearTitleAt(int year) const { return {squaresLeft(), blockTop(year) + metrics_.yearHeight - 4}; }

QPoint CalendarLayout::monthTitleAt(int year, int month) const {
  const QDate first(year, month, 1);
  // A month that begins late in its week is named above its first whole week.
  const int column = columnOf(first) + (rowOf(first) > 3 ? 1 : 0);
  return {squaresLeft() + column * pitch(), blockTop(year) + metrics_.yearHeight + metrics_.monthHeight - 3};
}

QPoint CalendarLayout::weekdayTitleAt(int year, int weekday) const {
  const int top = blockTop(year) + metrics_.yearHeight + metrics_.monthHeight;
  return {metrics_.margin, top + weekday * pitch() + metrics_.square};
}
