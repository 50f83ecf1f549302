#include "analysis/TextFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

using namespace Qt::StringLiterals;

namespace TextFormat {

namespace {

QString latin1(const char* text, const char* end) { return QString::fromLatin1(text, end - text); }

// At least `width` digits, zero-filled after the sign.
char* writeDigitsOfAnyWidth(char* out, long long value, int width) {
  const unsigned long long magnitude = detail::magnitudeOf(value);
  if (value < 0) *out++ = '-';
  for (int digits = detail::digitCount(magnitude); digits < width; ++digits) *out++ = '0';
  // Written in place: an export writes millions of them.
  return std::to_chars(out, out + 20, magnitude).ptr;
}

inline char* writeDigits(char* out, long long value, int width) {
  if (width == 2 && value >= 0 && value < 100) {  // the months, days and clock times of every run
    std::memcpy(out, detail::Pairs + 2 * value, 2);
    return out + 2;
  }
  return writeDigitsOfAnyWidth(out, value, width);
}

// The year's number, its sign included, zero-filled on the left to four characters.
char* writeYear(char* out, int year) {
  char text[16];
  const char* end = std::to_chars(text, text + sizeof text, year).ptr;
  for (auto length = end - text; length < 4; ++length) *out++ = '0';
  return std::copy(static_cast<const char*>(text), end, out);
}

}  // namespace

QString number(long long value, int width) { return QString::number(value).rightJustified(width, u' '); }

QString twoDigits(int value) {
  char text[24];
  return latin1(text, writeDigits(text, value, 2));
}

QString fixed(double value, int decimals) {
  char text[DateTextCapacity];
  return latin1(text, writeFixed(text, value, decimals));
}

namespace {

// The digits of a fixed value of `Decimals` decimals backwards, its whole part
// and its decimals taken apart by a division by a constant, so that the two
// runs of digits do not wait for each other.
template <int Decimals>
char* fixedDigitsBefore(char* end, unsigned long long magnitude) {
  constexpr unsigned long long Scale = detail::Powers[Decimals];
  unsigned long long fraction = magnitude % Scale;
  end = detail::lastDigitsBefore(end, fraction, Decimals);
  *--end = '.';
  return detail::digitsBefore(end, magnitude / Scale);
}

}  // namespace

char* FixedText::writeBefore(char* end) const {
  switch (decimals_) {
    case 1: end = fixedDigitsBefore<1>(end, magnitude_); break;
    case 2: end = fixedDigitsBefore<2>(end, magnitude_); break;
    case 3: end = fixedDigitsBefore<3>(end, magnitude_); break;
    case 4: end = fixedDigitsBefore<4>(end, magnitude_); break;
    case 5: end = fixedDigitsBefore<5>(end, magnitude_); break;
    case 6: end = fixedDigitsBefore<6>(end, magnitude_); break;
    case 7: end = fixedDigitsBefore<7>(end, magnitude_); break;
    case 8: end = fixedDigitsBefore<8>(end, magnitude_); break;
    case 9: end = fixedDigitsBefore<9>(end, magnitude_); break;
    default: end = detail::digitsBefore(end, magnitude_);
  }
  if (negative_) *--end = '-';
  return end;
}

char* writeFixed(char* out, double value, int decimals) {
  const FixedText text(value, decimals);
  text.writeBefore(out + text.length());
  return out + text.length();
}

QString fixed2(double value, int width) { return fixed(value, 2).rightJustified(width, u' '); }

char* writeDate(char* out, const DayCount::CivilDate& date, char separator) {
  out = writeYear(out, date.year);
  *out++ = separator;
  out = writeDigits(out, date.month, 2);
  *out++ = separator;
  return writeDigits(out, date.day, 2);
}

char* writeClockTime(char* out, const DayCount::ClockTime& time) {
  out = writeDigits(out, time.hour, 2);
  *out++ = ':';
  out = writeDigits(out, time.min, 2);
  *out++ = ':';
  return writeDigits(out, time.sec, 2);
}

QString isoDate(const DayCount::CivilDate& date) {
  char text[DateTextCapacity];
  return latin1(text, writeDate(text, date, '-'));
}

QString isoDate(double dayCount) { return isoDate(DayCount::decodeDate(dayCount)); }

QString clockTime(double dayCount) {
  char text[DateTextCapacity];
  return latin1(text, writeClockTime(text, DayCount::decodeTime(dayCount)));
}

QString shortDate(double dayCount) {
  char text[DateTextCapacity];
  return latin1(text, writeDate(text, DayCount::decodeDate(dayCount), '/'));
}

QString dateTimeStamp(const QDateTime& when) {
  const QDate date = when.date();
  const QTime time = when.time();
  char text[DateTextCapacity + DateTextCapacity];
  char* end = writeDate(text, {date.year(), date.month(), date.day()}, '/');
  *end++ = ' ';
  end = writeDigits(end, time.hour(), 1);
  *end++ = ':';
  end = writeDigits(end, time.minute(), 2);
  *end++ = ':';
  return latin1(text, writeDigits(end, time.second(), 2));
}

QString repeated(const QString& mark, long long count) {
  return count > 0 ? mark.repeated(static_cast<qsizetype>(count)) : QString();
}

}  // namespace TextFormat
