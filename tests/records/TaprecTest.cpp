#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "records/DayCount.h"
#include "records/Taprec.h"
#include "support/RecordLines.h"

namespace {

// The reference line: A, 1998-03-15 21:05:33, 85 hits, 3 misses.
const std::string Reference = "A 1998/03/15  21:05:33  HIT =  85  MISS=   3\r\n";

PracticeRecord parsed(const std::string& line, PracticeMode modeBefore = ModeRomaji) {
  PracticeRecord record;
  record.Mode = modeBefore;
  ParseRecordLine(line, record);
  return record;
}

std::string withField(std::string line, int firstByte, const std::string& text) {
  line.replace(static_cast<std::size_t>(firstByte - 1), text.size(), text);
  return line;
}

TEST(ParseRecordLine, ReadsEveryFieldOfTappersLayout) {
  const PracticeRecord r = parsed(Reference);
  EXPECT_EQ(r.Mode, ModeAlphabet);
  EXPECT_EQ(r.Date, *DayCount::encodeDate(1998, 3, 15));
  EXPECT_EQ(r.Time(), *DayCount::encodeTime(21, 5, 33));
  EXPECT_EQ(r.Year, 1998);
  EXPECT_EQ(r.Month, 3);
  EXPECT_EQ(r.Day, 15);
  EXPECT_EQ(r.Hour, 21);
  EXPECT_EQ(r.Min, 5);
  EXPECT_EQ(r.Sec, 33);
  EXPECT_EQ(r.Hits, 85);
  EXPECT_EQ(r.Misses, 3);
}

TEST(ParseRecordLine, ModeLetters) {
  const struct {
    char letter;
    PracticeMode mode;
  } cases[] = {{'A', ModeAlphabet}, {static_cast<char>(0xB1), ModeKana}, {'R', ModeRomaji}, {'!', ModeSymbols}};
  for (const auto& c : cases) {
    std::string line = Reference;
    line[0] = c.letter;
    EXPECT_EQ(parsed(line, ModeFailed).Mode, c.mode) << c.letter;
  }
}

TEST(ParseRecordLine, LineWithoutModeLetterKeepsTheModeItHad) {
  for (const char letter : {' ', 'a', 'K', '\xB2'}) {
    std::string line = Reference;
    line[0] = letter;
    EXPECT_EQ(parsed(line, ModeSymbols).Mode, ModeSymbols) << letter;
    EXPECT_EQ(parsed(line, ModeFailed).Mode, ModeFailed) << letter;
  }
}

TEST(ParseRecordLine, FailuresGiveModeFour) {
  const std::string cases[] = {
      "",
      withField(Reference, 3, "1999").replace(7, 2, "02").replace(10, 2, "29"),  // 1999-02-29
      withField(Reference, 8, "13"),                                             // month 13
      withField(Reference, 15, "24"),                                            // hour 24
      withField(Reference, 21, "60"),                                            // sec 60
      withField(Reference, 31, "85 "),                                           // trailing blank
      withField(Reference, 31, "   "),                                           // blanks only
      withField(Reference, 42, " 3x"),                                           // stray character
      withField(Reference, 3, "0000"),                                           // year 0
      withField(Reference, 3, "  -1"),                                           // year wraps to 65535
      withField(Reference, 11, "00"),                                            // day 0
      Reference.substr(0, 30),                                                   // no hit field
      Reference.substr(0, 41),                                                   // no miss field
  };
  for (const auto& line : cases) EXPECT_EQ(parsed(line).Mode, ModeFailed) << '"' << line << '"';
}

TEST(ParseRecordLine, NumberForms) {
  const struct {
    std::string hits;
    int expected;
  } cases[] = {{" 85", 85},  {"  5", 5},   {"085", 85},    {"+85", 85},   {"$FF", 255},
               {"$ff", 255}, {"999", 999}, {" -1", 65535}, {"-99", 65437}};
  for (const auto& c : cases) {
    const PracticeRecord r = parsed(withField(Reference, 31, c.hits));
    EXPECT_NE(r.Mode, ModeFailed) << c.hits;
    EXPECT_EQ(r.Hits, c.expected) << c.hits;
  }
}

TEST(ParseRecordLine, MissCountsAreHeldModulo256) {
  EXPECT_EQ(parsed(withField(Reference, 42, "300")).Misses, 44);
  EXPECT_EQ(parsed(withField(Reference, 42, "255")).Misses, 255);
  EXPECT_EQ(parsed(withField(Reference, 42, "256")).Misses, 0);
}

TEST(ParseRecordLine, LineCutAfterTheTimeStoresDateAndTimeBeforeFailing) {
  PracticeRecord r;
  r.Hits = 7;
  r.Misses = 9;
  ParseRecordLine(std::string_view(Reference).substr(0, 22), r);
  EXPECT_EQ(r.Mode, ModeFailed);
  EXPECT_EQ(r.Date, *DayCount::encodeDate(1998, 3, 15));
  EXPECT_EQ(r.Time(), *DayCount::encodeTime(21, 5, 33));
  EXPECT_EQ(r.Hits, 7);
  EXPECT_EQ(r.Misses, 9);
}

TEST(ParseRecordLine, InvalidDateKeepsThePartsStoredBeforeIt) {
  PracticeRecord r;
  r.Date = 123;
  r.Hour = 1;
  ParseRecordLine("A 1999/02/29  21:05:33  HIT =  85  MISS=   3", r);
  EXPECT_EQ(r.Mode, ModeFailed);
  EXPECT_EQ(r.Year, 1999);
  EXPECT_EQ(r.Day, 29);
  EXPECT_EQ(r.Date, 123);  // not built
  EXPECT_EQ(r.Hour, 1);    // not reached
}

TEST(ParseRecordLine, BytesAfterTheMissFieldAreIgnored) {
  std::string line = Reference.substr(0, 44) + "trailing text, no CR LF";
  EXPECT_EQ(parsed(line).Mode, ModeAlphabet);
  EXPECT_EQ(parsed(Reference.substr(0, 44)).Misses, 3);
}

TEST(ParseRecordLine, GeneratedLinesParseBack) {
  const std::string line = recordLine(ModeKana, 2023, 4, 5, 7, 8, 9, 210, 7);
  ASSERT_EQ(line.size(), 46u);
  const PracticeRecord r = parsed(line);
  EXPECT_EQ(r.Mode, ModeKana);
  EXPECT_EQ(r.Hits, 210);
  EXPECT_EQ(r.Misses, 7);
  EXPECT_EQ(r.Sec, 9);
}

// Every field alike, and Time to the bit.
bool sameBits(const PracticeRecord& a, const PracticeRecord& b) {
  return a == b && std::bit_cast<std::uint64_t>(a.Time()) == std::bit_cast<std::uint64_t>(b.Time());
}

// Whether the usual line's parse took the line. Taken or not, the record it
// leaves is the general parser's, from a record with a mode and one without.
bool usualParseAgrees(const std::string& line) {
  bool took = false;
  for (const PracticeMode before : {ModeFailed, ModeSymbols}) {
    PracticeRecord start;
    start.Mode = before;
    start.Date = -15;
    start.Sec = 77;
    PracticeRecord general = start, usual = start, either = start;
    ParseRecordLineByFields(line, general);
    took = ParseUsualRecordLine(line.data(), usual);
    ParseRecordLine(line, either);
    EXPECT_TRUE(sameBits(usual, took ? general : start)) << '"' << line << '"';
    EXPECT_TRUE(sameBits(either, general)) << '"' << line << '"';
  }
  return took;
}

TEST(ParseUsualRecordLine, TakesTheUsualLinesAndLeavesTheRestToTheGeneralParser) {
  const struct {
    int at;
    std::string text;
    bool usual;
  } cases[] = {
      {1, "\xB1", true},        {1, "!", true},           {31, "  0", true},        {31, "999", true},
      {31, "007", true},        {42, "999", true},        {42, "256", true},        {42, " 07", true},
      {3, "2024/02/29", true},  {3, "2000/02/29", true},  {3, "2023/04/30", true},  {3, "0001/01/01", true},
      {3, "9999/12/31", true},  {15, "00:00:00", true},   {15, "23:59:59", true},   {45, "more", true},
      {3, "2023/02/29", false}, {3, "1900/02/29", false}, {3, "2100/02/29", false}, {3, "2023/04/31", false},
      {3, "0000/01/01", false}, {3, "2023/13/01", false}, {3, "2023/01/00", false}, {15, "24:00:00", false},
      {15, "23:60:00", false},  {15, "23:59:60", false},  {3, "  23/ 1/ 2", false}, {31, "85 ", false},
      {31, "0 5", false},       {31, "   ", false},       {31, "+85", false},       {42, "$FF", false},
      {42, " -3", false},       {25, "hit =", false},     {1, "a", false},          {25, "\x91\xC5\x8C\xAE=", false},
  };
  for (const auto& c : cases) EXPECT_EQ(usualParseAgrees(withField(Reference, c.at, c.text)), c.usual) << c.text;
}

TEST(ParseUsualRecordLine, AgreesWithTheGeneralParserWhateverByteIsChanged) {
  const std::string replacements = std::string("0159 :/?=+-$AR!\xB1\xB2\r\n\x1A\0", 22);
  int taken = 0;
  for (std::size_t at = 0; at < 44; ++at) {
    for (const char byte : replacements) {
      std::string line = Reference;
      line[at] = byte;
      taken += usualParseAgrees(line) ? 1 : 0;
    }
  }
  // Digits that keep the date valid, the counts' leading blanks, the mode letters.
  EXPECT_GT(taken, 44);
  EXPECT_LT(taken, 44 * 8);
}

TEST(ParseUsualRecordLines, GivesTheGeneralParsersRecordForEveryLineOfAGeneratedFile) {
  GeneratorOptions options;
  options.runs = 20000;
  options.start = {1996, 2, 27};
  // Last, two dates a century apart.
  const std::string bytes = recordFileBytes(generateRuns(options)) + recordLine(ModeKana, 2001, 4, 5, 6, 7, 8, 9, 10) +
                            recordLine(ModeKana, 1901, 4, 5, 6, 7, 8, 9, 10);
  std::vector<PracticeRecord> usual(20003);
  ASSERT_EQ(ParseUsualRecordLines(bytes, usual.data(), usual.size()), 20002u);
  PracticeRecord general;
  for (std::size_t i = 0; i < 20002; ++i) {
    ParseRecordLineByFields(std::string_view(bytes).substr(i * 46, 46), general);
    ASSERT_TRUE(sameBits(usual[i], general)) << bytes.substr(i * 46, 44);
  }
}

TEST(ConvertFieldNumber, AcceptsOnlyTheFieldNumberForms) {
  const struct {
    std::string text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"12", 12},
      {"  12", 12},
      {"-12", -12},
      {"+0", 0},
      {"$7fffffff", 2147483647},
      {"$FFFFFFFF", -1},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"12 ", std::nullopt},
      {"1 2", std::nullopt},
      {"+", std::nullopt},
      {"$", std::nullopt},
      {"-$10", std::nullopt},
      {"0x10", std::nullopt},
      {"$123456789", std::nullopt},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"\t1", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(convertFieldNumber(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
