// The heat map's geometry without a screen: week columns and weekday rows
// across year ends, the blocks of the years, and hit testing.
#include <gtest/gtest.h>

#include <set>

#include "calendar/CalendarLayout.h"

namespace {

struct Place {
  QDate date;
  int column;
  int row;  // 0 Sunday ... 6 Saturday
};

TEST(CalendarLayout, WeeksAreColumnsFromTheWeekOfTheFirstOfJanuary) {
  const Place places[] = {
      {QDate(2022, 1, 1), 0, 6},                                   // a Saturday: the first week has one day
      {QDate(2022, 1, 2), 1, 0},                                   // the next Sunday opens the second column
      {QDate(2023, 1, 1), 0, 0},                                   // a Sunday: the first week is whole
      {QDate(2023, 12, 31), 52, 0},                                // a Sunday alone in the last column
      {QDate(2022, 12, 31), 52, 6}, {QDate(2024, 2, 29), 8, 4},    // the leap day, a Thursday
      {QDate(2024, 3, 1), 8, 5},    {QDate(2028, 12, 31), 53, 0},  // a leap year from a Saturday reaches a 54th column
  };
  for (const Place& p : places) {
    SCOPED_TRACE(p.date.toString(Qt::ISODate).toStdString());
    EXPECT_EQ(CalendarLayout::columnOf(p.date), p.column);
    EXPECT_EQ(CalendarLayout::rowOf(p.date), p.row);
  }
}

// Every day of the years has its own square inside its year's block, and a
// point in a square names that day; gaps, titles and the outside name none.
TEST(CalendarLayout, EveryDayHasOneSquareAndHitTestingFindsIt) {
  const CalendarLayout layout(2023, 2025, CalendarLayout::Metrics::forLineHeight(16));
  const QRect whole(QPoint(0, 0), layout.size());
  std::set<std::pair<int, int>> corners;
  for (QDate date(2023, 1, 1); date.year() <= 2025; date = date.addDays(1)) {
    const QRect square = layout.squareRect(date);
    ASSERT_FALSE(square.isEmpty());
    ASSERT_TRUE(layout.blockRect(date.year()).contains(square)) << date.toString(Qt::ISODate).toStdString();
    ASSERT_TRUE(whole.contains(square));
    ASSERT_TRUE(corners.insert({square.left(), square.top()}).second);
    for (const QPoint p : {square.center(), square.topLeft(), square.bottomRight()})
      ASSERT_EQ(layout.dateAt(p), std::optional<QDate>(date)) << date.toString(Qt::ISODate).toStdString();
    ASSERT_EQ(layout.dateAt(square.topRight() + QPoint(1, 0)), std::nullopt);  // the gap to the next week
  }
  EXPECT_EQ(layout.dateAt(layout.yearTitleAt(2024)), std::nullopt);
  EXPECT_EQ(layout.dateAt(layout.monthTitleAt(2024, 6)), std::nullopt);
  EXPECT_EQ(layout.dateAt(QPoint(-1, 40)), std::nullopt);
  EXPECT_EQ(layout.dateAt(QPoint(layout.size().width() - 1, layout.size().height() - 1)), std::nullopt);
  // The columns before 1 January and after 31 December hold no day.
  const QRect firstOf2023 = layout.squareRect(QDate(2023, 1, 1));
  EXPECT_EQ(layout.dateAt(firstOf2023.center() + QPoint(0, -(firstOf2023.height() + 2))), std::nullopt);
  EXPECT_FALSE(layout.squareRect(QDate(2022, 12, 31)).isValid());
  EXPECT_FALSE(layout.squareRect(QDate(2026, 1, 1)).isValid());
}

TEST(CalendarLayout, TheNewestYearIsOnTopAndSizesFollowTheFont) {
  const CalendarLayout layout(2021, 2024, CalendarLayout::Metrics::forLineHeight(16));
  EXPECT_LT(layout.blockRect(2024).top(), layout.blockRect(2023).top());
  EXPECT_LT(layout.blockRect(2023).bottom(), layout.blockRect(2022).top());
  EXPECT_EQ(layout.size().height() - layout.metrics().margin, layout.blockRect(2021).bottom() + 1);
  EXPECT_GE(layout.size().width(), layout.squareRect(QDate(2024, 12, 31)).right() + 1);
  EXPECT_LT(layout.monthTitleAt(2024, 3).x(), layout.monthTitleAt(2024, 4).x());

  // A screen of twice the density: everything grows with the font.
  const CalendarLayout large(2021, 2024, CalendarLayout::Metrics::forLineHeight(32));
  EXPECT_GT(large.metrics().square, layout.metrics().square);
  EXPECT_GT(large.size().width(), layout.size().width() * 3 / 2);
}

}  // namespace
