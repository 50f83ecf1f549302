#pragma once

#include <QColor>
#include <QPalette>

#include <array>

// The heat map's colours: the empty square and four shades of green by the
// day's number of runs, the mark of a personal best and the outline of today,
// chosen for the palette the window is shown in (light or dark), so that each
// step stands apart from the background and from the next.
struct CalendarColors {
  std::array<QColor, 5> levels;  // 0: no practice ... 4: the busiest days
  static constexpr int Levels() { return 5; }
  QColor personalBest;
  QColor today;
  QColor text;

  static CalendarColors forPalette(const QPalette& palette);
};
