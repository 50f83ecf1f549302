#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include "analysis/PracticeCalendar.h"

// The text of the practice calendar: the figures above the map, one line per
// practice day, a day's tooltip and the lines of a day's runs. The report tool
// prints the same lines. Columns count Shift-JIS bytes, as the panes' fixed-pitch
// font shows them.
namespace CalendarTexts {

// The title and the figures:
//   <<ローマ字の練習カレンダー >>            ("すべてのモード" for every mode)
//   現在の連続練習日数: 3日 (2024-04-29 ～ 2024-05-01)   (no dates for 0日)
//   最長の連続練習日数: 5日 (2024-03-01 ～ 2024-03-05)   (no dates for 0日)
//   今年の練習日数: 12日                     (the year of the calendar's today)
//   練習日数: 40日
//   総練習回数: 123回
//   最も多く練習した日: 2024-03-02 (9回)      ("なし" without practice)
QStringList figureLines(const PracticeCalendar& calendar);

// The column header of the day lines:
//   "  練習日    回数  最高  平均HIT 平均MISS"
QString dayHeaderLine();
// One practice day: the date, the runs (6 columns), the best hits (6), the
// average hits and misses with one decimal (9 each), and "  自己ベスト更新"
// when a run of the day was a personal best:
//   "2024-05-01     2   260    250.0      1.0  自己ベスト更新"
QString dayLine(const PracticeDay& day);

// The tooltip of a day's square: "2024-05-01 (水)", then "練習回数: 2回",
// "最高: 260", "平均: HIT 250.0 / MISS 1.0" and "自己ベスト更新" when it
// applies; or "練習なし" for a day without practice (`day` null). Lines are
// joined by "\n".
QString dayTooltip(const PracticeDay* day, QDate date);

// One run of a day: "09:00:00  ローマ字  Hit: 200  Miss:  3" (the mode name
// padded to 8 columns).
QString runLine(const PracticeRecord& run);

// The figures, the day header and one day line per practice day, oldest first.
QStringList calendarLines(const PracticeCalendar& calendar);

// "yyyy-mm-dd"; no text for an invalid date.
QString isoDate(QDate date);

}  // namespace CalendarTexts
