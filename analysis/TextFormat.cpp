#include "analysis/TextFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

using namespace Qt::StringLiterals;

namespace TextFormat {

namespace {

QString latin1(const char* text, const char* end) { return QString::fromLatin1(text, end - text); }

// At least `width` digits, zero-filled after the sign.
char* writeDigits(char* out, long long value, int width) {
  if (width == 2 && value >= 0 && value < 100) {  // the months, days and clock times of every run
    out[0] = static_cast<char>('0' + value / 10);
    out[1] = static_cast<char>('0' + value % 10);
    return out + 2;
  }
  const unsigned long long magnitude =
      value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  if (value < 0) *out++ = '-';
  int digits = 1;
  for (unsigned long long rest = magnitude / 10; rest > 0; rest /= 10) ++digits;
  for (; digits < width; ++digits) *out++ = '0';
  // Written in place: an export writes millions of them.
  return std::to_chars(out, out + 20, magnitude).ptr;
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

constexpr long long Powers[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// std::llround (halves away from zero) without the library call where the
// value is small enough for its fraction to be taken exactly.
long long roundHalfAway(double value) {
  if (!(std::fabs(value) < 0x1p52)) return std::llround(value);  // beyond, and not a number
  const auto whole = static_cast<long long>(value);                // towards zero
  const double fraction = value - static_cast<double>(whole);      // exact
  return whole + (fraction >= 0.5 ? 1 : 0) - (fraction <= -0.5 ? 1 : 0);
}

// The digits of `magnitude` backwards, at least `minimum` of them.
char* digitsBefore(char* end, unsigned long long magnitude, int minimum) {
  static constexpr char Pairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char* const last = end - minimum;
  while (magnitude >= 100) {
    const auto pair = static_cast<std::size_t>(magnitude % 100) * 2;
    magnitude /= 100;
    *--end = Pairs[pair + 1];
    *--end = Pairs[pair];
  }
  if (magnitude >= 10) {
    const auto pair = static_cast<std::size_t>(magnitude) * 2;
    *--end = Pairs[pair + 1];
    *--end = Pairs[pair];
  } else {
    *--end = static_cast<char>('0' + magnitude);
  }
  while (end > last) *--end = '0';
  return end;
}

unsigned long long magnitudeOf(long long value) {
  return value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
}

}  // namespace

char* writeNumberBefore(char* end, long long value) {
  end = digitsBefore(end, magnitudeOf(value), 1);
  if (value < 0) *--end = '-';
  return end;
}

char* writeFixedBefore(char* end, double value, int decimals) {
  const long long units = roundHalfAway(value * static_cast<double>(Powers[decimals]));
  unsigned long long magnitude = magnitudeOf(units);
  if (decimals > 0) {
    const auto scale = static_cast<unsigned long long>(Powers[decimals]);
    end = digitsBefore(end, magnitude % scale, decimals);
    *--end = '.';
    magnitude /= scale;
  }
  end = digitsBefore(end, magnitude, 1);
  if (units < 0) *--end = '-';
  return end;
}

char* writeFixed(char* out, double value, int decimals) {
  char text[FieldTextCapacity];
  const char* start = writeFixedBefore(text + sizeof text, value, decimals);
  return std::copy(start, static_cast<const char*>(text + sizeof text), out);
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
