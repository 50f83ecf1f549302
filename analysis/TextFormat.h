#pragma once

#include <QDateTime>
#include <QString>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>

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

// The characters of fixed(value, decimals) and of a whole number ("%d") as a
// right-aligned column writes them: their length first, from one rounding,
// then the characters backwards from where they end, so that they go straight
// to their place after the blanks. Defined here, so that an export's loop
// knows its decimals and widths when it is compiled (an export writes
// millions of them).
class FixedText {
 public:
  FixedText(double value, int decimals);
  int length() const { return length_; }
  // Writes the length() characters that end just before `end`; returns where they start.
  char* writeBefore(char* end) const;

 private:
  unsigned long long magnitude_;  // the value in units of its last decimal
  int decimals_;
  bool negative_;
  int length_;
};

class NumberText {
 public:
  explicit NumberText(long long value);
  int length() const { return length_; }
  char* writeBefore(char* end) const;

 private:
  unsigned long long magnitude_;
  bool negative_;
  int length_;
};

// A FixedText or NumberText right-aligned in `width` characters with blanks
// (widening for a longer one), written at `out`; returns the end. It may write
// blanks up to RightAlignedSlack characters on from `out` before the
// characters go over them, so that the blanks are a size the compiler knows.
inline constexpr int RightAlignedSlack = 16;
template <class Text>
char* writeRightAligned(char* out, const Text& text, int width);

namespace detail {

// 10 to the power of the index, up to the largest that an unsigned long long holds.
inline constexpr auto Powers = [] {
  std::array<unsigned long long, 20> powers{};
  unsigned long long power = 1;
  for (auto& p : powers) {
    p = power;
    power *= 10;
  }
  return powers;
}();

inline constexpr char Pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// std::llround (halves away from zero) without the library call where the
// value is small enough for its fraction to be taken exactly.
inline long long roundHalfAway(double value) {
  if (!(std::fabs(value) < 0x1p52)) return std::llround(value);  // beyond, and not a number
  const auto whole = static_cast<long long>(value);              // towards zero
  const double fraction = value - static_cast<double>(whole);    // exact
  return whole + (fraction >= 0.5 ? 1 : 0) - (fraction <= -0.5 ? 1 : 0);
}

// The number of digits, without a loop: log10 from the number of bits (1233 / 4096
// is just under log10(2)), then one comparison for the power of ten it may have
// passed. With its lowest bit set 0 takes one digit, and no other number
// changes its count (the powers of ten from 10 on are even).
inline int digitCount(unsigned long long magnitude) {
  const unsigned long long odd = magnitude | 1;
  const auto estimate = static_cast<std::size_t>(std::bit_width(odd) * 1233) >> 12;
  return static_cast<int>(estimate) + (odd >= Powers[estimate] ? 1 : 0);
}

inline unsigned long long magnitudeOf(long long value) {
  return value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
}

// The last `count` digits of `magnitude` backwards, taken off it (divisions by
// constants only: a multiplication each).
inline char* lastDigitsBefore(char* end, unsigned long long& magnitude, int count) {
  for (; count >= 2; count -= 2) {
    const auto pair = static_cast<std::size_t>(magnitude % 100) * 2;
    magnitude /= 100;
    *--end = Pairs[pair + 1];
    *--end = Pairs[pair];
  }
  if (count == 1) {
    *--end = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  }
  return end;
}

// The digits of `magnitude` backwards.
inline char* digitsBefore(char* end, unsigned long long magnitude) {
  while (magnitude >= 100) end = lastDigitsBefore(end, magnitude, 2);
  if (magnitude >= 10) return lastDigitsBefore(end, magnitude, 2);
  *--end = static_cast<char>('0' + magnitude);
  return end;
}

}  // namespace detail

inline NumberText::NumberText(long long value)
    : magnitude_(detail::magnitudeOf(value)),
      negative_(value < 0),
      length_((negative_ ? 1 : 0) + detail::digitCount(magnitude_)) {}

inline char* NumberText::writeBefore(char* end) const {
  end = detail::digitsBefore(end, magnitude_);
  if (negative_) *--end = '-';
  return end;
}

inline FixedText::FixedText(double value, int decimals) : decimals_(decimals) {
  const auto scale = static_cast<double>(detail::Powers[static_cast<std::size_t>(decimals)]);
  const long long units = detail::roundHalfAway(value * scale);
  magnitude_ = detail::magnitudeOf(units);
  negative_ = units < 0;
  const int whole = std::max(detail::digitCount(magnitude_) - decimals, 1);  // the digits before the point
  length_ = (negative_ ? 1 : 0) + whole + (decimals > 0 ? 1 + decimals : 0);
}

template <class Text>
[[gnu::always_inline]] inline char* writeRightAligned(char* out, const Text& text, int width) {
  const int blanks = std::max(width - text.length(), 0);
  std::memset(out, ' ', RightAlignedSlack);
  if (blanks > RightAlignedSlack) std::memset(out, ' ', static_cast<std::size_t>(blanks));
  char* const end = out + blanks + text.length();
  text.writeBefore(end);
  return end;
}

// A run of `count` copies of `mark` (no text for a count of 0 or below).
QString repeated(const QString& mark, long long count);

}  // namespace TextFormat
