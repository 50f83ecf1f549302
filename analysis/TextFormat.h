#pragma once

#include <QDateTime>
#include <QString>

#include <cstddef>

#include "records/DayCount.h"

// The number and date formats of the views, as the panes show them.
namespace TextFormat {

// "%<width>d": right-aligned with blanks, widening for longer numbers.
QString number(long long value, int width);
// "%.2d": at least two digits, zero-padded.
QString twoDigits(int value);
// A value with `decimals` decimals (0 to 9), halves rounded away from zero: "2.05".
QString fixed(double value, int decimals);
// "%<width>f" with two decimals; halves round away from zero.
QString fixed2(double value, int width);

// "yyyy-mm-dd" and "hh:nn:ss" of a day count, or of a date and a time. The
// year is zero-filled to four characters, the other parts to two digits.
QString isoDate(double dayCount);
QString isoDate(const DayCount::CivilDate& date);
QString clockTime(double dayCount);
// The short date of the views' chart points: "yyyy/mm/dd".
QString shortDate(double dayCount);
// The date-time stamp of the ranking header: short date, a blank, the long
// time ("2026/12/07 8:05:09").
QString dateTimeStamp(const QDateTime& when);

// The same date and time as characters, for the exports that write bytes: each
// writes at `out` and returns the end of what it wrote. DateTextCapacity
// characters hold any of them.
inline constexpr std::size_t DateTextCapacity = 40;
char* writeDate(char* out, const DayCount::CivilDate& date, char separator);
char* writeClockTime(char* out, const DayCount::ClockTime& time);
// The characters of fixed(value, decimals).
char* writeFixed(char* out, double value, int decimals);

// The same characters, and those of a whole number ("%d"), written backwards
// so that they end just before `end`: each returns where its characters
// start. A right-aligned column learns their length from one rounding and
// one pass over the digits. FieldTextCapacity characters hold any of them.
inline constexpr std::size_t FieldTextCapacity = 32;
char* writeFixedBefore(char* end, double value, int decimals);
char* writeNumberBefore(char* end, long long value);

// A run of `count` copies of `mark` (no text for a count of 0 or below).
QString repeated(const QString& mark, long long count);

}  // namespace TextFormat
