#include "analysis/AverageTrend.h"

#include <gtest/gtest.h>

#include <vector>

#include "analysis/TextFormat.h"
#include "platform/ShiftJis.h"
#include "records/DayCount.h"
#include "support/QtPrinters.h"
#include "support/Runs.h"

using namespace Qt::StringLiterals;

namespace {

const QString Header = u"  練習日    回数  平均"_s;
const QString Scale =
    u"                         0         50       100       150       200       250       300       350       400       450       500       550"_s;
const QString Ruler =
    u"                         |----------+---------+---------+---------+---------+---------+---------+---------+---------+---------+---------+-"_s;
const QString RomajiTitle = u"<<ローマ字の平均の推移 >>"_s;
const QString NoData = u"　記録がありません。"_s;

PracticeRecord runOnDay(PracticeMode mode, double dayCount, int hits, int misses = 0) {
  const DayCount::CivilDate d = DayCount::decodeDate(dayCount);
  return makeRun(mode, d.year, d.month, d.day, hits, misses);
}

const double NewYear2024 = *DayCount::encodeDate(2024, 1, 1);

// A run `days` after 2024-01-01.
PracticeRecord runAfter(PracticeMode mode, int days, int hits, int misses = 0) {
  return runOnDay(mode, NewYear2024 + days, hits, misses);
}

AverageTrend calculated(const std::vector<PracticeRecord>& runs, const AverageOptions& options = {}) {
  std::vector<const PracticeRecord*> all;
  for (const PracticeRecord& r : runs) all.push_back(&r);
  AverageTrend trend;
  trend.calculate(all, options);
  return trend;
}

AverageOptions with(AveragePeriod period) {
  AverageOptions options;
  options.period = period;
  return options;
}

AverageOptions filters(int maxMiss, int minHitMiss, bool noMiss) {
  AverageOptions options;
  options.maxMiss = maxMiss;
  options.minHitMiss = minHitMiss;
  options.noMiss = noMiss;
  return options;
}

// The data lines of AverageLines, without the column header and the title.
QStringList dataLines(const AverageTrend& trend) { return trend.AverageLines.mid(0, trend.AverageLines.size() - 2); }

QString marks(char16_t mark, int count) { return QString(count, QChar(mark)); }

TEST(AverageTrendTest, DayGroupsShowCountAveragesAndBarNewestFirst) {
  const AverageTrend trend =
      calculated({makeRun(ModeRomaji, 2023, 4, 5, 200, 4), makeRun(ModeRomaji, 2023, 4, 5, 210, 7),
                  makeRun(ModeRomaji, 2023, 4, 6, 220, 3)});
  const QString april5 = u"2023-04-05    2 205(  5) |"_s + marks(u'o', 41) + u"x"_s;
  const QString april6 = u"2023-04-06    1 220(  3) |"_s + marks(u'o', 44);
  EXPECT_EQ(trend.AverageLines, QStringList({april5, april6, Header, RomajiTitle}));
  EXPECT_EQ(trend.AverageTitle, RomajiTitle);
  ASSERT_EQ(trend.AveragePoints.size(), 2u);
  EXPECT_EQ(trend.AveragePoints[0].label, u"2023-04-05"_s);
  EXPECT_EQ(trend.AveragePoints[0].hits, 205);
  EXPECT_EQ(trend.AveragePoints[0].misses, 5);

  // Largest total 223: 44 marks, so 50 scale characters from column 20 and a 70-character ruler.
  EXPECT_EQ(trend.AverageScaleLine, Header + u"     0         50       100       150       200   "_s);
  EXPECT_EQ(trend.AverageRuleLine, u"                         |----------+---------+---------+---------+---"_s);
  EXPECT_EQ(trend.AverageRuleLine.indexOf(u'|'), april5.indexOf(u'|'));
  EXPECT_EQ(ShiftJis::width(trend.AverageScaleLine), 72);

  const QStringList pane = averagePaneLines(trend.AverageLines, 0);
  EXPECT_EQ(pane, QStringList({RomajiTitle, Header, april6, april5}));
  EXPECT_EQ(averageCopyAllLines(pane, trend),
            QStringList({RomajiTitle, trend.AverageScaleLine, trend.AverageRuleLine, april6, april5}));
}

TEST(AverageTrendTest, PeriodLabelsAreTenShiftJisColumns) {
  AverageOptions months = with(AveragePeriod::Month);
  months.hitMark = u"*"_s;
  const AverageTrend trend =
      calculated({makeRun(ModeRomaji, 2023, 4, 1, 100, 10), makeRun(ModeRomaji, 2023, 4, 30, 110, 0),
                  makeRun(ModeRomaji, 2023, 5, 1, 4, 4), makeRun(ModeRomaji, 2024, 4, 1, 120, 0)},
                 months);
  EXPECT_EQ(dataLines(trend),
            QStringList({u"2023年 4月    2 105(  5) |"_s + marks(u'*', 21) + u"x"_s, u"2023年 5月    1   4(  4) |"_s,
                         u"2024年 4月    1 120(  0) |"_s + marks(u'*', 24)}));
  const std::optional<QByteArray> bytes = ShiftJis::encode(dataLines(trend)[1]);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes, QByteArray("2023\x94N 5\x8C\x8E    1   4(  4) |"));
  EXPECT_EQ(bytes->indexOf('|'), 25);

  const AverageTrend years =
      calculated({makeRun(ModeRomaji, 2023, 1, 1, 100, 0), makeRun(ModeRomaji, 2023, 12, 31, 200, 0),
                  makeRun(ModeRomaji, 2024, 6, 1, 50, 0)},
                 with(AveragePeriod::Year));
  EXPECT_EQ(dataLines(years), QStringList({u"2023年平均    2 150(  0) |"_s + marks(u'o', 30),
                                           u"2024年平均    1  50(  0) |"_s + marks(u'o', 10)}));
  EXPECT_EQ(years.AveragePoints[0].label, u"2023年平均"_s);
}

TEST(AverageTrendTest, WeeksCountFromTheFirstLoadedRunTruncatingTowardZero) {
  const struct {
    int days;  // after the first loaded run
    QString label;
  } cases[] = {{0, u" 第   1週"_s},   {6, u" 第   1週"_s},  {7, u" 第   2週"_s},  {13, u" 第   2週"_s},
               {14, u" 第   3週"_s},  {-6, u" 第   1週"_s}, {-7, u" 第   0週"_s}, {-13, u" 第   0週"_s},
               {-14, u" 第  -1週"_s}, {-20, u" 第  -1週"_s}};
  for (const auto& c : cases) {
    // The first loaded run is of another mode: it still sets week 1.
    const AverageTrend trend =
        calculated({runAfter(ModeAlphabet, 0, 50), runAfter(ModeRomaji, c.days, 100)}, with(AveragePeriod::Week));
    ASSERT_EQ(trend.AveragePoints.size(), 1u) << c.days;
    EXPECT_EQ(trend.AveragePoints[0].label, c.label) << c.days;
    EXPECT_EQ(dataLines(trend)[0], c.label + u"     1 100(  0) |"_s + marks(u'o', 20)) << c.days;
  }
}

TEST(AverageTrendTest, AFirstGroupBeforeWeekOneKeepsItsOwnLabel) {
  const AverageTrend trend = calculated({runAfter(ModeAlphabet, 0, 50), runAfter(ModeRomaji, -14, 100),
                                         runAfter(ModeRomaji, -15, 110), runAfter(ModeRomaji, 0, 200)},
                                        with(AveragePeriod::Week));
  EXPECT_EQ(dataLines(trend), QStringList({u" 第  -1週     2 105(  0) |"_s + marks(u'o', 21),
                                           u" 第   1週     1 200(  0) |"_s + marks(u'o', 40)}));
}

TEST(AverageTrendTest, LongLabelsAreCutWithoutSplittingACharacter) {
  const double first = *DayCount::encodeDate(2000, 1, 1);
  PracticeRecord farYear = makeRun(ModeRomaji, 2000, 1, 1, 100, 0);
  farYear.Year = 12345;  // beyond what a record line holds
  const struct {
    AveragePeriod period;
    PracticeRecord record;
    QString label;  // as cut, before padding
  } cases[] = {
      {AveragePeriod::Week, runOnDay(ModeRomaji, first + 7 * 9999, 100), u" 第10000週"_s},  // 10 columns: whole
      {AveragePeriod::Week, runOnDay(ModeRomaji, first + 7 * 99999, 100), u" 第100000"_s},
      {AveragePeriod::Month, farYear, u"12345年 1"_s},
      {AveragePeriod::Year, farYear, u"12345年平"_s},
      {AveragePeriod::Day, farYear, u"12345-01-0"_s},
  };
  for (const auto& c : cases) {
    const AverageTrend trend = calculated({makeRun(ModeAlphabet, 2000, 1, 1, 1, 0), c.record}, with(c.period));
    ASSERT_EQ(trend.AveragePoints.size(), 1u) << c.label.toStdString();
    EXPECT_EQ(trend.AveragePoints[0].label, c.label);
    EXPECT_EQ(dataLines(trend)[0], ShiftJis::padRight(c.label, 10) + u"    1 100(  0) |"_s + marks(u'o', 20));
  }
}

TEST(AverageTrendTest, BlocksShowRunningCountsAndTheDateOfTheRunAfter) {
  const struct {
    int kept;
    std::vector<int> counts;
    std::vector<int> hitAverages;
    std::vector<int> labelRuns;  // index of the kept run whose date labels the line
  } cases[] = {{120, {50, 100, 120}, {124, 174, 209}, {50, 100, 119}},
               {100, {50, 100}, {124, 174}, {50, 99}},
               {30, {30}, {114}, {29}}};
  for (const auto& c : cases) {
    std::vector<PracticeRecord> runs;
    std::vector<PracticeRecord> kept;
    for (int i = 0; i < c.kept; ++i) {
      kept.push_back(runAfter(ModeRomaji, 2 * i, 100 + i, 9));
      runs.push_back(kept.back());
      runs.push_back(runAfter(ModeKana, 2 * i + 1, 500));  // another mode: neither counted nor averaged
    }
    const AverageTrend trend = calculated(runs, with(AveragePeriod::Count));
    ASSERT_EQ(trend.AveragePoints.size(), c.counts.size()) << c.kept;
    for (std::size_t g = 0; g < c.counts.size(); ++g) {
      const QString label = TextFormat::isoDate(kept[static_cast<std::size_t>(c.labelRuns[g])].Date);
      EXPECT_EQ(trend.AveragePoints[g].label, label) << c.kept << " group " << g;
      EXPECT_EQ(trend.AveragePoints[g].hits, c.hitAverages[g]) << c.kept << " group " << g;
      EXPECT_EQ(dataLines(trend)[static_cast<qsizetype>(g)],
                label + TextFormat::number(c.counts[g], 5) + TextFormat::number(c.hitAverages[g], 4) + u"(  9) |"_s +
                    marks(u'o', c.hitAverages[g] / 5) + u"x"_s);
    }
  }
}

TEST(AverageTrendTest, ABlockSizeOfZeroOrBelowCountsAsOne) {
  const std::vector<PracticeRecord> runs = {makeRun(ModeRomaji, 2023, 4, 5, 100, 0),
                                            makeRun(ModeRomaji, 2023, 4, 6, 110, 0),
                                            makeRun(ModeRomaji, 2023, 4, 7, 120, 0)};
  const QStringList expected = {u"2023-04-06    1 100(  0) |"_s + marks(u'o', 20),
                                u"2023-04-07    2 110(  0) |"_s + marks(u'o', 22),
                                u"2023-04-07    3 120(  0) |"_s + marks(u'o', 24)};
  for (const int size : {1, 0, -5}) {
    AverageOptions options = with(AveragePeriod::Count);
    options.countInterval = size;
    EXPECT_EQ(dataLines(calculated(runs, options)), expected) << size;
  }
}

TEST(AverageTrendTest, FiltersLeaveRunsOut) {
  const struct {
    const char* name;
    AverageOptions options;
    std::vector<PracticeRecord> runs;
    QString line;
  } cases[] = {
      {"max miss 0",
       filters(0, 0, false),
       {makeRun(ModeRomaji, 2023, 4, 5, 100, 0), makeRun(ModeRomaji, 2023, 4, 5, 200, 1),
        makeRun(ModeRomaji, 2023, 4, 5, 300, 0)},
       u"2023-04-05    2 200(  0) |"_s + marks(u'o', 40)},
      {"min hits + misses 300",
       filters(255, 300, false),
       {makeRun(ModeRomaji, 2023, 4, 5, 290, 10), makeRun(ModeRomaji, 2023, 4, 5, 289, 10),
        makeRun(ModeRomaji, 2023, 4, 5, 300, 0)},
       u"2023-04-05    2 295(  5) |"_s + marks(u'o', 59) + u"x"_s},
      {"no miss",
       filters(255, 0, true),
       {makeRun(ModeRomaji, 2023, 4, 5, 100, 0), makeRun(ModeRomaji, 2023, 4, 5, 200, 5)},
       u"2023-04-05    1 100(  0) |"_s + marks(u'o', 20)},
      {"mode",
       filters(255, 0, false),
       {makeRun(ModeRomaji, 2023, 4, 5, 100, 0), makeRun(ModeKana, 2023, 4, 5, 200, 0)},
       u"2023-04-05    1 100(  0) |"_s + marks(u'o', 20)},
  };
  for (const auto& c : cases) EXPECT_EQ(dataLines(calculated(c.runs, c.options)), QStringList{c.line}) << c.name;
}

TEST(AverageTrendTest, TitleNamesTheModeAndTheNoMissOption) {
  const QString names[] = {u"英字"_s, u"カナ"_s, u"ローマ字"_s, u"記号"_s};
  for (PracticeMode mode = 0; mode < PracticeModeCount; ++mode) {
    for (const bool noMiss : {false, true}) {
      AverageOptions options;
      options.mode = mode;
      options.noMiss = noMiss;
      const AverageTrend trend = calculated({makeRun(mode, 2023, 4, 5, 100, 0)}, options);
      const QString title = u"<<"_s + names[mode] + (noMiss ? u"ノーミス"_s : u""_s) + u"の平均の推移 >>"_s;
      EXPECT_EQ(trend.AverageTitle, title);
      EXPECT_EQ(trend.AverageLines.last(), title);
    }
  }
}

TEST(AverageTrendTest, SeparatedRunsOfOneDayFormTwoGroups) {
  const AverageTrend separated =
      calculated({makeRun(ModeRomaji, 2023, 4, 5, 100, 0), makeRun(ModeRomaji, 2023, 4, 6, 100, 0),
                  makeRun(ModeRomaji, 2023, 4, 5, 100, 0)});
  ASSERT_EQ(separated.AveragePoints.size(), 3u);
  EXPECT_EQ(separated.AveragePoints[0].label, separated.AveragePoints[2].label);
  // A run of another mode in between separates nothing.
  const AverageTrend joined =
      calculated({makeRun(ModeRomaji, 2023, 4, 5, 100, 0), makeRun(ModeKana, 2023, 4, 6, 100, 0),
                  makeRun(ModeRomaji, 2023, 4, 5, 100, 0)});
  EXPECT_EQ(dataLines(joined), QStringList{u"2023-04-05    2 100(  0) |"_s + marks(u'o', 20)});
}

TEST(AverageTrendTest, RecentLimitShowsTheNewestGroups) {
  std::vector<PracticeRecord> runs;
  for (int day = 1; day <= 10; ++day) runs.push_back(makeRun(ModeRomaji, 2023, 4, day, 100 + day, 0));
  const AverageTrend trend = calculated(runs);
  const QStringList lines = dataLines(trend);
  EXPECT_EQ(averagePaneLines(trend.AverageLines, 3), QStringList({RomajiTitle, Header, lines[9], lines[8], lines[7]}));
  const struct {
    int limit;
    qsizetype shown;
  } cases[] = {{0, 12}, {-1, 12}, {9, 11}, {10, 12}, {255, 12}};
  for (const auto& c : cases) EXPECT_EQ(averagePaneLines(trend.AverageLines, c.limit).size(), c.shown) << c.limit;
}

TEST(AverageTrendTest, NoGroupShowsTheNoDataTextAndTheShortestHeaders) {
  AverageOptions filtered;
  filtered.minHitMiss = 999;
  const std::vector<PracticeRecord> runs = {makeRun(ModeRomaji, 2023, 4, 5, 100, 0)};
  for (const AveragePeriod period :
       {AveragePeriod::Day, AveragePeriod::Week, AveragePeriod::Month, AveragePeriod::Year, AveragePeriod::Count}) {
    filtered.period = period;
    // Nothing kept, and nothing loaded at all (no first run to take the week origin from).
    for (const AverageTrend& trend : {calculated(runs, filtered), calculated({}, with(period))}) {
      EXPECT_EQ(trend.AverageLines, QStringList({Header, RomajiTitle}));
      EXPECT_TRUE(trend.AveragePoints.empty());
      EXPECT_EQ(trend.AverageScaleLine, Header + u"     0"_s);
      EXPECT_EQ(trend.AverageRuleLine, Ruler.first(26));
      const QStringList pane = averagePaneLines(trend.AverageLines, 3);
      EXPECT_EQ(pane, QStringList({RomajiTitle, NoData}));
      EXPECT_EQ(averageCopyAllLines(pane, trend), QStringList({RomajiTitle, Header + u"     0"_s, Ruler.first(26)}));
    }
  }
  // A pane without a second line has nothing to replace.
  EXPECT_EQ(averageCopyAllLines({RomajiTitle}, calculated({})), QStringList{RomajiTitle});
}

TEST(AverageTrendTest, HeadersFollowTheLongestBar) {
  const struct {
    int hits;
    int misses;
    qsizetype scaleChars;  // taken from column 20 of the scale numbers
    qsizetype rulerChars;
  } cases[] = {{4, 0, 6, 26}, {3, 2, 7, 27}, {200, 23, 50, 70}, {999, 255, 117, 138}};
  for (const auto& c : cases) {
    const AverageTrend trend = calculated({makeRun(ModeRomaji, 2023, 4, 5, c.hits, c.misses)});
    EXPECT_EQ(trend.AverageScaleLine, Header + Scale.mid(20, c.scaleChars)) << c.hits;
    EXPECT_EQ(trend.AverageRuleLine, Ruler.first(c.rulerChars)) << c.hits;
  }
}

TEST(AverageTrendTest, EveryGroupKeepsItsPointAndWideCountsWidenTheLine) {
  std::vector<PracticeRecord> runs;
  for (int day = 0; day < 1500; ++day) runs.push_back(runAfter(ModeRomaji, day, day % 500, 0));
  AverageTrend trend = calculated(runs);
  ASSERT_EQ(trend.AveragePoints.size(), 1500u);
  EXPECT_EQ(trend.AveragePoints.back().label, TextFormat::isoDate(runs.back().Date));
  EXPECT_EQ(trend.AveragePoints.back().hits, 499);

  // The same object again: nothing of the former calculation is left.
  const std::vector<PracticeRecord> busyDay(100'000, makeRun(ModeRomaji, 2023, 4, 5, 100, 0));
  std::vector<const PracticeRecord*> all;
  for (const PracticeRecord& r : busyDay) all.push_back(&r);
  trend.calculate(all, {});
  EXPECT_EQ(trend.AverageLines, QStringList({u"2023-04-05100000 100(  0) |"_s + marks(u'o', 20), Header, RomajiTitle}));
  EXPECT_EQ(trend.AveragePoints.size(), 1u);
}

}  // namespace
