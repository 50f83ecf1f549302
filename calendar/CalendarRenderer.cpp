#include "calendar/CalendarRenderer.h"

#include <QPainter>

#include "analysis/PracticeCalendar.h"
#include "calendar/CalendarColors.h"
#include "calendar/CalendarLayout.h"

using namespace Qt::StringLiterals;

namespace CalendarRenderer {

namespace {

const QString WeekdayNames[] = {u"日"_s, u"月"_s, u"火"_s, u"水"_s, u"木"_s, u"金"_s, u"土"_s};

void paintTitles(QPainter& painter, const CalendarLayout& layout, int year, const CalendarColors& colors,
                 const QFont& font) {
  painter.setPen(colors.text);
  QFont bold = font;
  bold.setBold(true);
  painter.setFont(bold);
  painter.drawText(layout.yearTitleAt(year), u"%1年"_s.arg(year));
  painter.setFont(font);
  for (int month = 1; month <= 12; ++month) painter.drawText(layout.monthTitleAt(year, month), u"%1月"_s.arg(month));
  // Every other weekday is named (月, 水, 金): a row is lower than a line of text.
  for (int weekday = 1; weekday < 7; weekday += 2)
    painter.drawText(layout.weekdayTitleAt(year, weekday), WeekdayNames[weekday]);
}

}  // namespace

void paint(QPainter& painter, const CalendarLayout& layout, const PracticeCalendar& calendar,
           const CalendarColors& colors, const QFont& font, const QRect& exposed) {
  const std::vector<PracticeDay>& days = calendar.days();
  for (int year = layout.lastYear(); year >= layout.firstYear(); --year) {
    if (!layout.blockRect(year).intersects(exposed)) continue;
    paintTitles(painter, layout, year, colors, font);
    // Every day empty first, then the practice days of the year over them.
    const QDate first(year, 1, 1);
    for (QDate date = first; date.year() == year; date = date.addDays(1))
      painter.fillRect(layout.squareRect(date), colors.levels[0]);
    const auto from = std::lower_bound(days.begin(), days.end(), first,
                                       [](const PracticeDay& day, QDate date) { return day.date < date; });
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (auto day = from; day != days.end() && day->date.year() == year; ++day) {
      const QRect square = layout.squareRect(day->date);
      painter.fillRect(square, colors.levels[static_cast<std::size_t>(calendar.level(day->runs))]);
      if (day->personalBest) {
        const qreal radius = square.width() / 4.0;
        painter.setPen(Qt::NoPen);
        painter.setBrush(colors.personalBest);
        painter.drawEllipse(QRectF(square).center(), radius, radius);
        painter.setBrush(Qt::NoBrush);
      }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (calendar.today().year() == year) {
      painter.setPen(QPen(colors.today, 1));
      painter.drawRect(layout.squareRect(calendar.today()).adjusted(-1, -1, 0, 0));
    }
  }
}

}  // namespace CalendarRenderer
