#include <gtest/gtest.h>

#include "records/DayCount.h"

namespace {

struct DateCase {
  int year, month, day;
  double dayCount;
};

TEST(DayCount, KnownDatesMapToTheirDayCounts) {
  const DateCase cases[] = {
      {1899, 12, 30, 0},    {1899, 12, 31, 1},    {1900, 1, 1, 2},    {1900, 3, 1, 61},
      {1998, 3, 15, 35869}, {2000, 2, 29, 36585}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << '-' << c.month << '-' << c.day);
    ASSERT_EQ(DayCount::encodeDate(c.year, c.month, c.day), c.dayCount);
    const auto back = DayCount::decodeDate(c.dayCount);
    EXPECT_EQ(back.year, c.year);
    EXPECT_EQ(back.month, c.month);
    EXPECT_EQ(back.day, c.day);
  }
}

TEST(DayCount, InvalidDatesAreRejected) {
  const DateCase cases[] = {{1999, 2, 29, 0}, {1900, 2, 29, 0}, {2023, 13, 1, 0}, {2023, 0, 1, 0},
                            {2023, 4, 31, 0}, {2023, 1, 0, 0},  {0, 1, 1, 0},     {10000, 1, 1, 0}};
  for (const auto& c : cases)
    EXPECT_FALSE(DayCount::encodeDate(c.year, c.month, c.day)) << c.year << '-' << c.month << '-' << c.day;
  EXPECT_TRUE(DayCount::encodeDate(2000, 2, 29));
  EXPECT_TRUE(DayCount::encodeDate(2024, 2, 29));
}

TEST(DayCount, TimesAreFractionsOfADayAndRoundTrip) {
  EXPECT_EQ(DayCount::encodeTime(12, 0, 0), 0.5);
  EXPECT_FALSE(DayCount::encodeTime(24, 0, 0));
  EXPECT_FALSE(DayCount::encodeTime(0, 60, 0));
  EXPECT_FALSE(DayCount::encodeTime(0, 0, 60));
  for (int seconds = 0; seconds < 86400; seconds += 7) {
    const auto time = DayCount::encodeTime(seconds / 3600, seconds / 60 % 60, seconds % 60);
    ASSERT_TRUE(time);
    const auto back = DayCount::decodeTime(35869 + *time);
    ASSERT_EQ(back.hour * 3600 + back.min * 60 + back.sec, seconds);
  }
}

TEST(DayCount, EveryDayOfFourCenturiesRoundTrips) {
  double expected = *DayCount::encodeDate(1800, 1, 1);
  for (int year = 1800; year < 2200; ++year)
    for (int month = 1; month <= 12; ++month)
      for (int day = 1; day <= DayCount::daysInMonth(year, month); ++day) {
        ASSERT_EQ(DayCount::encodeDate(year, month, day), expected);
        const auto back = DayCount::decodeDate(expected);
        ASSERT_TRUE(back.year == year && back.month == month && back.day == day);
        expected += 1;
      }
}

}  // namespace
