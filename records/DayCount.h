#pragma once

#include <cstdint>
#include <optional>

// Dates and times as floating day counts: the whole part counts days since
// 1899-12-30, the fraction is the time of day. Encoding sits in the header so
// that the record-line parser and the data-file reader inline it.
namespace DayCount {

struct CivilDate {
  int year;
  int month;
  int day;
};

struct ClockTime {
  int hour;
  int min;
  int sec;
};

// Days from 1970-01-01 to a proleptic Gregorian date (Howard Hinnant's algorithm).
constexpr std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// 1899-12-30 is day 0 of the day count.
inline constexpr std::int64_t Epoch = daysFromCivil(1899, 12, 30);

// The Julian day numbers (QDate::toJulianDay) of 1970-01-01, where
// daysFromCivil counts from, and of day 0 of the day count.
inline constexpr std::int64_t JulianDayOf1970 = 2440588;
inline constexpr std::int64_t JulianDayOfDayZero = JulianDayOf1970 + Epoch;

constexpr bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// month 1..12
constexpr int daysInMonth(int year, int month) {
  constexpr int Lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : Lengths[month - 1];
}

// The whole day count of a Gregorian date, or nothing when the year is outside
// 1..9999, the month outside 1..12 or the day outside the month.
constexpr std::optional<std::int32_t> encodeDay(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return std::nullopt;
  if (day < 1 || day > daysInMonth(year, month)) return std::nullopt;
  return static_cast<std::int32_t>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                                   Epoch);
}

// The same as a day count.
constexpr std::optional<double> encodeDate(int year, int month, int day) {
  const auto days = encodeDay(year, month, day);
  if (!days) return std::nullopt;
  return *days;
}

// The fraction of a day for a time with milliseconds 0, or nothing when the
// hour is 24 or more or the minutes or seconds 60 or more.
constexpr std::optional<double> encodeTime(int hour, int min, int sec) {
  if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60) return std::nullopt;
  return (hour * 3600 + min * 60 + sec) / 86400.0;
}

CivilDate decodeDate(double dayCount);
ClockTime decodeTime(double dayCount);

}  // namespace DayCount
