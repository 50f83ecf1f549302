#include <gtest/gtest.h>

#include "support/QtPrinters.h"

#include "analysis/TextFormat.h"
#include "records/DayCount.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <random>
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

// The characters of a FixedText or NumberText right-aligned in `width`, as
// writeRightAligned leaves them, checked against the length the text told.
template <class Text>
std::string rightAligned(const Text& text, int width) {
  char line[TextFormat::RightAlignedSlack + 128];
  const char* end = TextFormat::writeRightAligned(line, text, width);
  EXPECT_EQ(end - line, std::max(width, text.length()));
  return std::string(static_cast<const char*>(line), end);
}

// Rounded once: halves away from zero, as std::llround takes them, also the
// largest value below one half and the values about 2^52, where a double
// stops holding halves; a sign only for what does not round to zero.
TEST(TextFormat, FixedTextRoundsHalvesAwayFromZeroAtEveryEdge) {
  const struct {
    double value;
    int decimals;
    std::string text;
  } cases[] = {
      {0.0, 2, "0.00"},
      {-0.0, 2, "0.00"},
      {-0.004, 2, "0.00"},
      {0.5, 0, "1"},
      {-0.5, 0, "-1"},
      {0.49999999999999994, 0, "0"},  // the largest below one half: adding 0.5 first would make it 1
      {2.5, 0, "3"},
      {-2.5, 0, "-3"},
      {0.125, 2, "0.13"},
      {-0.375, 2, "-0.38"},
      {1.0, 4, "1.0000"},
      {0.0005, 4, "0.0005"},
      {9.99995, 4, "10.0000"},
      {123.45, 1, "123.5"},
      {0.123456789, 9, "0.123456789"},
      {4503599627370495.5, 0, "4503599627370496"},  // 2^52 - 0.5
      {-4503599627370495.5, 0, "-4503599627370496"},
      {4503599627370497.0, 0, "4503599627370497"},  // 2^52 + 1: no fraction left to round
      {1e18, 0, "1000000000000000000"},
      {9.2e18, 0, "9200000000000000000"},  // 19 digits: about the most the rounded units hold
      {1234567.25, 1, "1234567.3"},
  };
  for (const auto& c : cases) {
    const TextFormat::FixedText text(c.value, c.decimals);
    char line[TextFormat::DateTextCapacity];
    EXPECT_EQ(std::string(line, TextFormat::writeFixed(line, c.value, c.decimals)), c.text) << c.value;
    EXPECT_EQ(text.length(), static_cast<int>(c.text.size())) << c.value;
    EXPECT_EQ(TextFormat::fixed(c.value, c.decimals), QString::fromStdString(c.text)) << c.value;
  }
}

// The same digits as an independent reckoning of std::llround's units, for
// values of every size and each number of decimals.
TEST(TextFormat, FixedTextHasTheDigitsOfTheRoundedUnits) {
  std::mt19937_64 random(11);
  for (int decimals = 0; decimals <= 9; ++decimals) {
    const double scale = std::pow(10.0, decimals);
    for (int i = 0; i < 3000; ++i) {
      // Magnitudes from 1e-12 to 1e8, either sign, and halves of the last decimal.
      double value = std::pow(10.0, std::uniform_real_distribution<double>(-12, 8)(random));
      if (i % 3 == 0) value = (std::floor(value * scale) + 0.5) / scale;
      if (i % 2 == 0) value = -value;
      const long long units = std::llround(value * scale);
      char digits[40];
      std::snprintf(digits, sizeof digits, "%0*llu", decimals + 1, units < 0 ? 0ULL - units : units + 0ULL);
      std::string expected = digits;
      if (decimals > 0) expected.insert(expected.size() - static_cast<std::size_t>(decimals), ".");
      if (units < 0) expected.insert(0, "-");
      const TextFormat::FixedText text(value, decimals);
      ASSERT_EQ(rightAligned(text, 0), expected) << value << " with " << decimals << " decimals";
    }
  }
}

// Right-aligned in a column: blanks up to its width, none when the text is as
// wide or wider, and widths beyond the blanks written ahead of the text.
TEST(TextFormat, RightAlignedColumnsOfEveryWidth) {
  const struct {
    long long value;
    int width;
    std::string text;
  } numbers[] = {
      {85, 4, "  85"},
      {123456, 4, "123456"},
      {-3, 5, "   -3"},
      {0, 0, "0"},
      {0, 1, "0"},
      {-10, 3, "-10"},
      {99, 2, "99"},
      {100, 2, "100"},
      {7, 16, std::string(15, ' ') + "7"},
      {7, 17, std::string(16, ' ') + "7"},
      {7, 40, std::string(39, ' ') + "7"},
      {LLONG_MAX, 20, " 9223372036854775807"},
      {LLONG_MIN, 0, "-9223372036854775808"},
  };
  for (const auto& c : numbers) {
    EXPECT_EQ(rightAligned(TextFormat::NumberText(c.value), c.width), c.text) << c.value << " in " << c.width;
    EXPECT_EQ(TextFormat::number(c.value, c.width), QString::fromStdString(c.text)) << c.value;
  }
  // Each side of every power of ten, where the count of digits changes.
  for (unsigned long long power = 1; power <= 1'000'000'000'000'000'000ULL; power *= 10)
    for (const unsigned long long magnitude : {power - 1, power, power + 1})
      for (const long long value : {static_cast<long long>(magnitude), -static_cast<long long>(magnitude)}) {
        EXPECT_EQ(rightAligned(TextFormat::NumberText(value), 0), std::to_string(value));
        const double whole = static_cast<double>(value);
        if (std::fabs(whole) < 1e13) {  // whole hundredths below 2^53
          EXPECT_EQ(rightAligned(TextFormat::FixedText(whole, 2), 0), std::to_string(value) + ".00");
        }
      }
  const struct {
    double value;
    int decimals, width;
    std::string text;
  } fixed[] = {
      {25.0, 2, 7, "  25.00"},
      {-1.005, 2, 6, " -1.00"},
      {1234.5, 2, 4, "1234.50"},
      {0.25, 4, 11, "     0.2500"},
      {-99.5, 0, 3, "-100"},
      {-99.5, 0, 5, " -100"},
      {3.14159, 3, 20, std::string(15, ' ') + "3.142"},
  };
  for (const auto& c : fixed)
    EXPECT_EQ(rightAligned(TextFormat::FixedText(c.value, c.decimals), c.width), c.text) << c.value;
}

}  // namespace
