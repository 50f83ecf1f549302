#include "analysis/TextFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

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

struct FixedUnits {
  unsigned long long magnitude;
  unsigned long long scale;
  bool negative;
};

FixedUnits fixedUnits(double value, int decimals) {
  long long scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const long long units = std::llround(value * static_cast<double>(scale));  // llround: halves away from zero
  return {static_cast<unsigned long long>(std::llabs(units)), static_cast<unsigned long long>(scale), units < 0};
}

}  // namespace

int fixedLength(double value, int decimals) {
  const FixedUnits f = fixedUnits(value, decimals);
  int digits = 1;
  for (unsigned long long rest = f.magnitude / f.scale / 10; rest > 0; rest /= 10) ++digits;
  return (f.negative ? 1 : 0) + digits + (decimals > 0 ? 1 + decimals : 0);
}

char* writeFixed(char* out, double value, int decimals) {
  const auto [magnitude, scale, negative] = fixedUnits(value, decimals);
  if (negative) *out++ = '-';
  out = std::to_chars(out, out + 20, magnitude / scale).ptr;
  if (decimals == 0) return out;
  *out++ = '.';
  auto fraction = magnitude % scale;
  for (int i = decimals - 1; i >= 0; --i, fraction /= 10) out[i] = static_cast<char>('0' + fraction % 10);
  return out + decimals;
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
