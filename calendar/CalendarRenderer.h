#pragma once

#include <QFont>
#include <QRect>

class QPainter;
class CalendarLayout;
class PracticeCalendar;
struct CalendarColors;

// Paints the heat map: for each year block that meets `exposed`, the year,
// the month and weekday names, every day's square in the colour of its step,
// a dot on the days of a personal best, and an outline around today. Draws
// into any QPainter: the window, an image in the tests and the screenshots.
namespace CalendarRenderer {

void paint(QPainter& painter, const CalendarLayout& layout, const PracticeCalendar& calendar,
           const CalendarColors& colors, const QFont& font, const QRect& exposed);

}  // namespace CalendarRenderer
