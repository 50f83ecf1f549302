#include "progress/TimeAxis.h"

#include <QTime>

#include <algorithm>
#include <cmath>

#include "records/DayCount.h"

using namespace Qt::StringLiterals;

namespace {

constexpr double DaysPerYear = 365.2425;
constexpr double DaysPerMonth = DaysPerYear / 12;

// The smallest step of `steps` that leaves room for every label (the last if none does).
template <std::size_t N>
int fittingStep(const int (&steps)[N], double span, int pixels, int width) {
  const double room = std::max(1, pixels / std::max(1, width));
  for (const int step : steps)
    if (span / step <= room) return step;
  return steps[N - 1];
}

}  // namespace

namespace TimeAxis {

QDate dateOf(double when) { return QDate::fromJulianDay(DayCount::JulianDayOfDayZero + qint64(std::floor(when))); }

double dayCountOf(QDate date) { return double(date.toJulianDay() - DayCount::JulianDayOfDayZero); }

std::vector<Tick> ticks(double from, double to, int pixels, int dateWidth, int monthWidth, int yearWidth,
                        int timeWidth) {
  std::vector<Tick> out;
  if (!(to > from) || pixels <= 0) return out;
  const double span = to - from;
  const QDate first = dateOf(from);

  if (span > 3 * DaysPerYear) {
    static constexpr int steps[] = {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000};
    const int step = fittingStep(steps, span / DaysPerYear, pixels, yearWidth);
    int year = first.year() + 1;
    year += (step - year % step) % step;
    for (; year <= 9999; year += step) {
      const double at = dayCountOf(QDate(year, 1, 1));
      if (at > to) break;
      out.push_back({at, u"%1年"_s.arg(year), {}});
    }
    return out;
  }
  if (span > 62) {
    static constexpr int steps[] = {1, 2, 3, 6, 12};
    const int step = fittingStep(steps, span / DaysPerMonth, pixels, monthWidth);
    QDate month(first.year(), first.month(), 1);
    while ((month.month() - 1) % step != 0 || dayCountOf(month) < from) month = month.addMonths(1);
    for (; dayCountOf(month) <= to; month = month.addMonths(step)) {
      const bool named = out.empty() || month.month() <= step;  // the first tick of a year
      out.push_back({dayCountOf(month), u"%1月"_s.arg(month.month()), named ? u"%1年"_s.arg(month.year()) : QString()});
    }
    return out;
  }
  if (span >= 2) {
    static constexpr int steps[] = {1, 2, 7, 14, 28};
    const int step = fittingStep(steps, span, pixels, dateWidth);
    // Weekly steps fall on Sundays, the first column of the practice calendar.
    QDate day = first;
    if (step % 7 == 0) day = day.addDays(day.dayOfWeek() % 7 == 0 ? 0 : 7 - day.dayOfWeek() % 7);
    if (dayCountOf(day) < from) day = day.addDays(step % 7 == 0 ? step : 1);
    for (; dayCountOf(day) <= to; day = day.addDays(step))
      out.push_back({dayCountOf(day), day.toString(u"yyyy/MM/dd"_s), {}});
    return out;
  }
  static constexpr int minutes[] = {1, 2, 5, 10, 15, 30, 60, 120, 180, 360, 720};
  const int step = fittingStep(minutes, span * 1440, pixels, timeWidth);
  double minute = std::ceil(from * 1440 / step) * step;
  for (; minute / 1440 <= to; minute += step) {
    const double at = minute / 1440;
    const int ofDay = int(std::llround(minute)) % 1440;
    const bool named = out.empty() || ofDay < step;  // the first tick of a day
    out.push_back({at, QTime(ofDay / 60, ofDay % 60).toString(u"HH:mm"_s),
                   named ? dateOf(at + 1e-9).toString(u"yyyy/MM/dd"_s) : QString()});
  }
  return out;
}

}  // namespace TimeAxis
