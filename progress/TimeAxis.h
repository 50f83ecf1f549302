#pragma once

#include <QDate>
#include <QString>

#include <vector>

// The ticks of the progress chart's time axis, labelled the way Japanese
// users read dates: "2026年" per year on a long span, "12月" per month (with
// the year under January and under the first tick), "2026/12/07" per day,
// and "21:00" per hour or minutes (with the day under midnight and under the
// first tick) when zoomed in to less than two days. Times are day counts
// (ProgressRun::when); ticks are spread so that their labels fit.
namespace TimeAxis {

struct Tick {
  double at = 0;   // a day count
  QString label;   // the tick's text
  QString second;  // the line under it (a year or a day), or empty
};

QDate dateOf(double when);      // the day of a day count
double dayCountOf(QDate date);  // the day count of a day's start

// The ticks within [from, to] on an axis `pixels` wide, given how wide a
// label of each kind is ("2026/12/07", "12月", "2026年", "21:00") with its gap.
std::vector<Tick> ticks(double from, double to, int pixels, int dateWidth, int monthWidth, int yearWidth,
                        int timeWidth);

}  // namespace TimeAxis
