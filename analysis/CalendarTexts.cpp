#include "analysis/CalendarTexts.h"

#include <cmath>
#include <cstdlib>

#include "analysis/ModePass.h"
#include "analysis/TextFormat.h"
#include "platform/ShiftJis.h"

using namespace Qt::StringLiterals;

namespace CalendarTexts {

namespace {

constexpr int RunsWidth = 6;
constexpr int BestWidth = 6;
constexpr int AverageWidth = 9;
constexpr int ModeNameWidth = 8;  // "ローマ字"

const QString Days = u"日"_s;
const QString Times = u"回"_s;
const QString PersonalBest = u"自己ベスト更新"_s;

QString modeText(std::optional<PracticeMode> mode) { return mode ? modeTitleName(*mode) : u"すべてのモード"_s; }

QString streakLine(const QString& label, const PracticeStreak& streak) {
  QString line = label + u": "_s + QString::number(streak.days) + Days;
  if (streak.days > 0) line += u" ("_s + isoDate(streak.first) + u" ～ "_s + isoDate(streak.last) + u')';
  return line;
}

QString weekdayName(QDate date) {
  static const QString Names[7] = {u"月"_s, u"火"_s, u"水"_s, u"木"_s, u"金"_s, u"土"_s, u"日"_s};
  return Names[date.dayOfWeek() - 1];
}

}  // namespace

QString isoDate(QDate date) {
  if (!date.isValid()) return {};
  return TextFormat::isoDate(DayCount::CivilDate{date.year(), date.month(), date.day()});
}

QStringList figureLines(const PracticeCalendar& calendar) {
  const PracticeDay* busiest = calendar.busiestDay();
  return {u"<<"_s + modeText(calendar.mode()) + u"の練習カレンダー >>"_s,
          streakLine(u"現在の連続練習日数"_s, calendar.currentStreak()),
          streakLine(u"最長の連続練習日数"_s, calendar.longestStreak()),
          u"今年の練習日数: "_s + QString::number(calendar.practiceDaysIn(calendar.today().year())) + Days,
          u"練習日数: "_s + QString::number(calendar.practiceDays()) + Days,
          u"総練習回数: "_s + QString::number(calendar.totalRuns()) + Times,
          u"最も多く練習した日: "_s +
              (busiest ? isoDate(busiest->date) + u" ("_s + QString::number(busiest->runs) + Times + u')' : u"なし"_s)};
}

QString dayHeaderLine() { return u"  練習日    回数  最高  平均HIT 平均MISS"_s; }

QString dayLine(const PracticeDay& day) {
  QString line = isoDate(day.date) + TextFormat::number(day.runs, RunsWidth) +
                 TextFormat::number(day.bestHits, BestWidth) +
                 TextFormat::fixed(day.averageHits, 1).rightJustified(AverageWidth, u' ') +
                 TextFormat::fixed(day.averageMisses, 1).rightJustified(AverageWidth, u' ');
  if (day.personalBest) line += u"  "_s + PersonalBest;
  return line;
}

QStringList calendarLines(const PracticeCalendar& calendar) {
  QStringList lines = figureLines(calendar);
  lines.reserve(lines.size() + 1 + static_cast<qsizetype>(calendar.days().size()));
  lines << dayHeaderLine();
  for (const PracticeDay& day : calendar.days()) lines << dayLine(day);
  return lines;
}

QString dayTooltip(const PracticeDay* day, QDate date) {
  QStringList lines{isoDate(date) + (date.isValid() ? u" ("_s + weekdayName(date) + u')' : QString())};
  if (!day) {
    lines << u"練習なし"_s;
  } else {
    lines << u"練習回数: "_s + QString::number(day->runs) + Times << u"最高: "_s + QString::number(day->bestHits)
          << u"平均: HIT "_s + TextFormat::fixed(day->averageHits, 1) + u" / MISS "_s +
                 TextFormat::fixed(day->averageMisses, 1);
    if (day->personalBest) lines << PersonalBest;
  }
  return lines.join(u'\n');
}

QString runLine(const PracticeRecord& run) {
  return TextFormat::clockTime(run.Time()) + u"  "_s + ShiftJis::padRight(modeTitleName(run.Mode), ModeNameWidth) +
         u"  Hit:"_s + TextFormat::number(run.Hits, 4) + u"  Miss:"_s + TextFormat::number(run.Misses, 3);
}

}  // namespace CalendarTexts
