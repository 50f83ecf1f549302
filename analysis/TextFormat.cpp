#include "analysis/TextFormat.h"

#include <cmath>
#include <cstdlib>

#include "records/DayCount.h"

using namespace Qt::StringLiterals;

namespace TextFormat {

QString number(long long value, int width) { return QString::number(value).rightJustified(width, u' '); }

QString twoDigits(int value) {
  return value < 0 ? u'-' + QString::number(-static_cast<long long>(value)).rightJustified(2, u'0')
                   : QString::number(value).rightJustified(2, u'0');
}

QString fixed2(double value, int width) {
  const long long hundredths = std::llround(value * 100.0);  // llround: halves away from zero
  const long long whole = std::llabs(hundredths) / 100;
  const long long cents = std::llabs(hundredths) % 100;
  QString text = (hundredths < 0 ? u"-"_s : QString()) + QString::number(whole) + u'.' +
                 QString::number(cents).rightJustified(2, u'0');
  return text.rightJustified(width, u' ');
}

QString isoDate(double dayCount) {
  const DayCount::CivilDate d = DayCount::decodeDate(dayCount);
  return QString::number(d.year).rightJustified(4, u'0') + u'-' + twoDigits(d.month) + u'-' + twoDigits(d.day);
}

QString clockTime(double dayCount) {
  const DayCount::ClockTime t = DayCount::decodeTime(dayCount);
  return twoDigits(t.hour) + u':' + twoDigits(t.min) + u':' + twoDigits(t.sec);
}

QString shortDate(double dayCount) {
  const DayCount::CivilDate d = DayCount::decodeDate(dayCount);
  return QString::number(d.year).rightJustified(4, u'0') + u'/' + twoDigits(d.month) + u'/' + twoDigits(d.day);
}

QString dateTimeStamp(const QDateTime& when) {
  const QDate date = when.date();
  const QTime time = when.time();
  return QString::number(date.year()).rightJustified(4, u'0') + u'/' + twoDigits(date.month()) + u'/' +
         twoDigits(date.day()) + u' ' + QString::number(time.hour()) + u':' + twoDigits(time.minute()) + u':' +
         twoDigits(time.second());
}

QString repeated(const QString& mark, long long count) {
  return count > 0 ? mark.repeated(static_cast<qsizetype>(count)) : QString();
}

}  // namespace TextFormat
