#include <gtest/gtest.h>

#include "support/QtPrinters.h"

#include "analysis/TextFormat.h"
#include "records/DayCount.h"

#include <climits>
#include <string>

using namespace Qt::StringLiterals;

namespace {

TEST(TextFormat, NumbersAndDecimals) {
  EXPECT_EQ(TextFormat::number(85, 4), u"  85"_s);
  EXPECT_EQ(TextFormat::number(123456, 4), u"123456"_s);
  EXPECT_EQ(TextFormat::number(-3, 5), u"   -3"_s);
  EXPECT_EQ(TextFormat::twoDigits(5), u"05"_s);
  EXPECT_EQ(TextFormat::twoDigits(123), u"123"_s);
  EXPECT_EQ(TextFormat::twoDigits(-5), u"-05"_s);
  const struct {
    double value;
    int width;
    QString text;
  } cases[] = {{25.0, 7, u"  25.00"_s}, {0.0, 7, u"   0.00"_s},   {3.125, 7, u"   3.13"_s},
               {2.5, 6, u"  2.50"_s},   {100.0, 6, u"100.00"_s},  {0.004, 4, u"0.00"_s},
               {0.005, 4, u"0.01"_s},   {-1.005, 6, u" -1.00"_s}, {1234.5, 4, u"1234.50"_s}};
  for (const auto& c : cases) EXPECT_EQ(TextFormat::fixed2(c.value, c.width), c.text) << c.value;
}

TEST(TextFormat, DatesAndTimes) {
  const double day = *DayCount::encodeDate(1998, 3, 5) + *DayCount::encodeTime(21, 5, 3);
  EXPECT_EQ(TextFormat::isoDate(day), u"1998-03-05"_s);
  EXPECT_EQ(TextFormat::clockTime(day), u"21:05:03"_s);
  EXPECT_EQ(TextFormat::shortDate(*DayCount::encodeDate(987, 12, 31)), u"0987/12/31"_s);
  EXPECT_EQ(TextFormat::dateTimeStamp(QDateTime(QDate(2026, 1, 2), QTime(0, 0, 7))), u"2026/01/02 0:00:07"_s);
  EXPECT_EQ(TextFormat::repeated(u"o"_s, 3), u"ooo"_s);
  EXPECT_EQ(TextFormat::repeated(u"o"_s, 0), QString());
}

// The exports write the same bytes as the views: the year zero-filled to four
// characters (its sign included), the other parts to two digits.
TEST(TextFormat, DateAndTimeCharactersOfEveryWidth) {
  const struct {
    DayCount::CivilDate date;
    DayCount::ClockTime time;
    std::string dateText, timeText;
  } cases[] = {{{2026, 1, 2}, {0, 0, 7}, "2026-01-02", "00:00:07"},
               {{5, 12, 31}, {23, 59, 59}, "0005-12-31", "23:59:59"},
               {{12345, 10, 1}, {9, 5, 0}, "12345-10-01", "09:05:00"},
               {{-5, 1, 1}, {100, -3, 0}, "00-5-01-01", "100:-03:00"}};
  for (const auto& c : cases) {
    char text[TextFormat::DateTextCapacity];
    EXPECT_EQ(std::string(text, TextFormat::writeDate(text, c.date, '-')), c.dateText);
    EXPECT_EQ(TextFormat::isoDate(c.date), QString::fromStdString(c.dateText));
    EXPECT_EQ(std::string(text, TextFormat::writeClockTime(text, c.time)), c.timeText);
  }
  char widest[TextFormat::DateTextCapacity];
  EXPECT_LE(TextFormat::writeDate(widest, {INT_MIN, INT_MIN, INT_MIN}, '/') - widest,
            static_cast<std::ptrdiff_t>(sizeof widest));
}

}  // namespace
