#pragma once

#include <QDate>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// Where each day's square lies in the practice calendar's heat map. One block
// per year, the newest year on top; in a block the weeks are columns (the
// week of 1 January first) and the weekdays rows, Sunday on top as Japanese
// calendars have it. Above the squares the year and the month names, left of
// them the weekday names. Sizes follow the square size, which the window takes
// from its font.
class CalendarLayout {
 public:
  struct Metrics {
    int square = 11;        // a day's square, in pixels
    int gap = 2;            // between squares
    int weekdayWidth = 20;  // the weekday names' column
    int yearHeight = 18;    // the year above a block
    int monthHeight = 14;   // the month names above the squares
    int blockGap = 10;      // between the blocks of two years
    int margin = 4;         // around everything

    // Metrics for a font of that line height.
    static Metrics forLineHeight(int lineHeight);
    // The same with squares made smaller (down to MinSquare) where the blocks
    // would be wider than `width`: a whole year across a small screen.
    static Metrics forLineHeight(int lineHeight, int width);
    static constexpr int MinSquare = 5;
  };

  CalendarLayout() = default;
  CalendarLayout(int firstYear, int lastYear, const Metrics& metrics);

  int firstYear() const { return firstYear_; }
  int lastYear() const { return lastYear_; }
  const Metrics& metrics() const { return metrics_; }
  QSize size() const;

  QRect blockRect(int year) const;     // the whole block with its titles; empty outside the years
  QRect squareRect(QDate date) const;  // empty for a day outside the years
  // The day whose square holds the point; none between squares and outside.
  std::optional<QDate> dateAt(QPoint point) const;

  QPoint yearTitleAt(int year) const;                  // the year's baseline start
  QPoint monthTitleAt(int year, int month) const;      // above the column of the month's first day
  QPoint weekdayTitleAt(int year, int weekday) const;  // weekday: 0 Sunday ... 6 Saturday; baseline start

  // A day's week column within its year (0 for the week of 1 January) and its row (0 Sunday ... 6 Saturday).
  static int columnOf(QDate date);
  static int rowOf(QDate date);
  static constexpr int MostColumns = 54;  // a leap year from a Saturday

 private:
  int blockTop(int year) const;
  int blockHeight() const;
  int squaresLeft() const;
  int pitch() const { return metrics_.square + metrics_.gap; }

  int firstYear_ = 0;
  int lastYear_ = -1;
  Metrics metrics_;
};
