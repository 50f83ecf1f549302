#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <tuple>
#include <vector>

#include "analysis/CalendarTexts.h"
#include "analysis/PracticeCalendar.h"
#include "platform/ShiftJis.h"
#include "support/QtPrinters.h"
#include "support/Runs.h"

using namespace Qt::StringLiterals;

inline void PrintTo(const QDate& date, std::ostream* out) { *out << date.toString(Qt::ISODate).toStdString(); }

namespace {

QDate day(int y, int m, int d) { return QDate(y, m, d); }

PracticeRecord runOn(QDate date, int hits = 100, int misses = 0, PracticeMode mode = ModeRomaji) {
  return makeRun(mode, date.year(), date.month(), date.day(), hits, misses);
}

PracticeCalendar calendarOf(const RunList& list, std::optional<PracticeMode> mode, QDate today) {
  return PracticeCalendar::build(list.references(), mode, today);
}

std::vector<QDate> datesOf(const PracticeCalendar& calendar) {
  std::vector<QDate> dates;
  for (const PracticeDay& d : calendar.days()) dates.push_back(d.date);
  return dates;
}

auto fields(const PracticeStreak& s) { return std::tuple(s.days, s.first, s.last); }

TEST(PracticeCalendar, StreaksAcrossMonthYearAndLeapDays) {
  const QDate apr29 = day(2024, 4, 29), may1 = day(2024, 5, 1);
  const struct {
    const char* what;
    std::vector<QDate> dates;  // one run each, in this order
    QDate today;
    PracticeStreak current, longest;
  } cases[] = {
      {"ending yesterday is current",
       {apr29, day(2024, 4, 30), may1},
       day(2024, 5, 2),
       {3, apr29, may1},
       {3, apr29, may1}},
      {"ending the day before yesterday is not",
       {apr29, day(2024, 4, 30), may1},
       day(2024, 5, 3),
       {},
       {3, apr29, may1}},
      {"days after today are not current",
       {may1, apr29, day(2024, 4, 30)},
       day(2024, 4, 30),
       {2, apr29, day(2024, 4, 30)},
       {3, apr29, may1}},
      {"over the year's end",
       {day(2023, 12, 31), day(2024, 1, 1)},
       day(2024, 1, 1),
       {2, day(2023, 12, 31), day(2024, 1, 1)},
       {2, day(2023, 12, 31), day(2024, 1, 1)}},
      {"through a leap day",
       {day(2024, 2, 28), day(2024, 2, 29), day(2024, 3, 1)},
       day(2024, 3, 1),
       {3, day(2024, 2, 28), day(2024, 3, 1)},
       {3, day(2024, 2, 28), day(2024, 3, 1)}},
      {"a leap year's 28 February and 1 March are apart",
       {day(2024, 2, 28), day(2024, 3, 1)},
       day(2024, 3, 1),
       {1, day(2024, 3, 1), day(2024, 3, 1)},
       {1, day(2024, 3, 1), day(2024, 3, 1)}},
      {"a common year's are not",
       {day(2023, 2, 28), day(2023, 3, 1)},
       day(2023, 3, 2),
       {2, day(2023, 2, 28), day(2023, 3, 1)},
       {2, day(2023, 2, 28), day(2023, 3, 1)}},
      {"the latest of equal streaks",
       {day(2024, 1, 9), day(2024, 1, 8), day(2024, 1, 5), day(2024, 1, 6)},
       day(2024, 1, 20),
       {},
       {2, day(2024, 1, 8), day(2024, 1, 9)}},
      {"a longer streak before them",
       {day(2024, 1, 9), day(2024, 1, 8), day(2024, 1, 5), day(2024, 1, 6), day(2024, 1, 1), day(2024, 1, 2),
        day(2024, 1, 3)},
       day(2024, 1, 20),
       {},
       {3, day(2024, 1, 1), day(2024, 1, 3)}},
      {"no today", {apr29}, QDate(), {}, {1, apr29, apr29}},
  };
  for (const auto& c : cases) {
    RunList list;
    for (QDate d : c.dates) list.add(runOn(d));
    const PracticeCalendar calendar = calendarOf(list, ModeRomaji, c.today);
    EXPECT_EQ(fields(calendar.currentStreak()), fields(c.current)) << c.what;
    EXPECT_EQ(fields(calendar.longestStreak()), fields(c.longest)) << c.what;
  }
}

// The days and their tallies do not depend on the order of the file; runs at
// the same moment are separate runs.
TEST(PracticeCalendar, DaysOfAFileOutOfDateOrder) {
  RunList list;
  list.add(runOn(day(2024, 3, 1), 210, 4))
      .add(runOn(day(2023, 12, 31), 100, 1))
      .add(runOn(day(2024, 2, 29), 150, 2))
      .add(runOn(day(2024, 3, 1), 190, 7))
      .add(runOn(day(2023, 12, 31), 100, 1))
      .add(runOn(day(2024, 3, 1), 190, 7))  // the same moment as the run before it
      .add(runOn(day(2023, 12, 31), 100, 1));
  const PracticeCalendar calendar = calendarOf(list, ModeRomaji, day(2024, 3, 1));
  EXPECT_EQ(datesOf(calendar), (std::vector{day(2023, 12, 31), day(2024, 2, 29), day(2024, 3, 1)}));
  const PracticeDay* march = calendar.day(day(2024, 3, 1));
  ASSERT_NE(march, nullptr);
  EXPECT_EQ(std::tuple(march->runs, march->bestHits, march->averageMisses), std::tuple(3, 210, 6.0));
  EXPECT_DOUBLE_EQ(march->averageHits, 590.0 / 3);
  EXPECT_EQ(calendar.day(day(2024, 2, 28)), nullptr);
  EXPECT_EQ(calendar.day(day(2025, 1, 1)), nullptr);
  EXPECT_EQ(calendar.totalRuns(), 7);
  EXPECT_EQ(std::tuple(calendar.practiceDaysIn(2023), calendar.practiceDaysIn(2024), calendar.practiceDaysIn(2025)),
            std::tuple(1, 2, 0));
  EXPECT_EQ(calendar.busiestDay()->date, day(2023, 12, 31)) << "the earliest of equally busy days";
}

// Random files, with a day centuries away among the runs or not, give each day
// the runs and hits a plain count gives it.
TEST(PracticeCalendar, RandomFilesAgreeWithAPlainCount) {
  for (const bool farOff : {false, true}) {
    std::mt19937 random(farOff ? 11 : 5);
    std::uniform_int_distribution<int> offset(0, 365 * 40);
    RunList list;
    std::map<QDate, std::pair<int, long long>> expected;  // runs and hits
    for (int i = 0; i < 3000; ++i) {
      const QDate date = farOff && i == 1500 ? day(9000, 1, 1) : day(1990, 1, 1).addDays(offset(random));
      const int hits = static_cast<int>(random() % 400);
      list.add(runOn(date, hits));
      ++expected[date].first;
      expected[date].second += hits;
    }
    const PracticeCalendar calendar = calendarOf(list, ModeRomaji, day(2030, 1, 1));
    std::map<QDate, std::pair<int, long long>> counted;
    for (const PracticeDay& d : calendar.days()) counted[d.date] = {d.runs, std::llround(d.averageHits * d.runs)};
    EXPECT_EQ(counted, expected) << farOff;
    EXPECT_EQ(calendar.days().size(), expected.size()) << "each day once";
    EXPECT_TRUE(std::is_sorted(calendar.days().begin(), calendar.days().end(),
                               [](const PracticeDay& a, const PracticeDay& b) { return a.date < b.date; }));
  }
}

// A run is a personal best when it beats every earlier run of its mode in the
// file, whatever the dates; the first run of a mode is one unless it has no hit.
// A run without a valid date is left out but still sets the best.
TEST(PracticeCalendar, PersonalBestsPerModeAndOverAllModes) {
  PracticeRecord noDate = runOn(day(2024, 1, 1), 250);
  noDate.Month = 2;
  noDate.Day = 30;
  RunList list;
  list.add(runOn(day(2024, 1, 1), 0, 0, ModeSymbols))
      .add(runOn(day(2024, 1, 2), 200))
      .add(runOn(day(2024, 1, 3), 150, 0, ModeKana))
      .add(runOn(day(2024, 1, 3), 190))
      .add(runOn(day(2024, 1, 4), 200))  // equals the best
      .add(runOn(day(2024, 1, 4), 140, 0, ModeKana))
      .add(runOn(day(2024, 1, 5), 201))
      .add(runOn(day(2024, 1, 1), 220))  // a later line with an earlier date
      .add(noDate)
      .add(runOn(day(2024, 1, 6), 240));
  const auto bestDays = [&](std::optional<PracticeMode> mode) {
    const PracticeCalendar calendar = calendarOf(list, mode, day(2024, 1, 6));
    std::vector<int> days;
    for (const PracticeDay& d : calendar.days())
      if (d.personalBest) days.push_back(d.date.day());
    return days;
  };
  EXPECT_EQ(bestDays(ModeRomaji), (std::vector{1, 2, 5}));
  EXPECT_EQ(bestDays(ModeKana), (std::vector{3}));
  EXPECT_EQ(bestDays(ModeSymbols), (std::vector<int>{}));
  EXPECT_EQ(bestDays(std::nullopt), (std::vector{1, 2, 3, 5}));

  const PracticeCalendar all = calendarOf(list, std::nullopt, day(2024, 1, 6));
  EXPECT_EQ(all.totalRuns(), 9) << "not the run without a date";
  EXPECT_EQ(all.day(day(2024, 1, 3))->bestHits, 190) << "the best of both modes' runs";
  EXPECT_EQ(datesOf(calendarOf(list, ModeKana, day(2024, 1, 6))), (std::vector{day(2024, 1, 3), day(2024, 1, 4)}));

  const PracticeCalendar none = calendarOf(list, ModeAlphabet, day(2024, 1, 6));
  EXPECT_TRUE(none.days().empty());
  EXPECT_EQ(none.busiestDay(), nullptr);
  EXPECT_EQ(fields(none.longestStreak()), fields(PracticeStreak{}));
}

TEST(PracticeCalendar, LevelsByNearestRankQuartiles) {
  std::vector<int> oneToAHundred;
  for (int i = 100; i >= 1; --i) oneToAHundred.push_back(i);
  const struct {
    const char* what;
    std::vector<int> counts;                    // runs of each practice day
    std::vector<std::pair<int, int>> expected;  // runs -> level
  } cases[] = {
      {"no day", {}, {{0, 0}, {1, 4}}},
      {"one day", {5}, {{0, 0}, {5, 4}, {1, 4}}},
      {"all days equal", {3, 3, 3}, {{3, 4}}},
      {"two days", {1, 2}, {{1, 1}, {2, 3}, {3, 4}}},
      {"four days", {4, 2, 3, 1}, {{-1, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}},
      {"many equal, one more", {1, 1, 1, 1, 1, 1, 5}, {{1, 1}, {2, 4}}},
      {"one to a hundred", oneToAHundred, {{25, 1}, {26, 2}, {50, 2}, {51, 3}, {75, 3}, {76, 4}}},
  };
  for (const auto& c : cases) {
    RunList list;
    QDate date(2024, 1, 1);
    for (int count : c.counts) {
      for (int i = 0; i < count; ++i) list.add(runOn(date));
      date = date.addDays(2);
    }
    const PracticeCalendar calendar = calendarOf(list, ModeRomaji, date);
    for (const auto& [runs, level] : c.expected) EXPECT_EQ(calendar.level(runs), level) << c.what << ": " << runs;
  }
}

// The report tests check the figures and day lines of a file in full.
TEST(CalendarTexts, EmptyFiguresTooltipsAndRunsOfADay) {
  RunList runs;
  runs.add(runOn(day(2024, 4, 30), 200, 3))
      .add(runOn(day(2024, 4, 30), 150, 1, ModeKana))
      .add(runOn(day(2024, 4, 30), 190, 0))
      .add(runOn(day(2024, 5, 1), 175, 1));
  EXPECT_EQ(
      CalendarTexts::figureLines(calendarOf(runs, ModeSymbols, day(2024, 5, 2))),
      (QStringList{u"<<記号の練習カレンダー >>"_s, u"現在の連続練習日数: 0日"_s, u"最長の連続練習日数: 0日"_s,
                   u"今年の練習日数: 0日"_s, u"練習日数: 0日"_s, u"総練習回数: 0回"_s, u"最も多く練習した日: なし"_s}));

  const PracticeCalendar calendar = calendarOf(runs, ModeRomaji, day(2024, 5, 2));
  EXPECT_EQ(CalendarTexts::dayTooltip(calendar.day(day(2024, 4, 30)), day(2024, 4, 30)),
            u"2024-04-30 (火)\n練習回数: 2回\n最高: 200\n平均: HIT 195.0 / MISS 1.5\n自己ベスト更新"_s);
  EXPECT_EQ(CalendarTexts::dayTooltip(calendar.day(day(2024, 5, 1)), day(2024, 5, 1)),
            u"2024-05-01 (水)\n練習回数: 1回\n最高: 175\n平均: HIT 175.0 / MISS 1.0"_s);
  EXPECT_EQ(CalendarTexts::dayTooltip(nullptr, day(2024, 5, 5)), u"2024-05-05 (日)\n練習なし"_s);

  const auto lines = [&](std::optional<PracticeMode> mode) {
    QStringList shown;
    for (const PracticeRecord* r : PracticeCalendar::runsOn(runs.references(), mode, day(2024, 4, 30)))
      shown << CalendarTexts::runLine(*r);
    return shown;
  };
  EXPECT_EQ(lines(std::nullopt),
            (QStringList{u"12:00:00  ローマ字  Hit: 200  Miss:  3"_s, u"12:00:00  カナ      Hit: 150  Miss:  1"_s,
                         u"12:00:00  ローマ字  Hit: 190  Miss:  0"_s}));
  EXPECT_EQ(lines(ModeKana).size(), 1);

  // The widest values keep the columns under the header.
  const PracticeDay widest{day(2024, 5, 1), 99999, 65535, 65535.0, 255.0, false};
  EXPECT_EQ(ShiftJis::width(CalendarTexts::dayLine(widest)), ShiftJis::width(CalendarTexts::dayHeaderLine()));
}

}  // namespace
