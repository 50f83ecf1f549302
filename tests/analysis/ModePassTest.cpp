#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/QtPrinters.h"

#include "analysis/ModePass.h"
#include "analysis/ViewTexts.h"
#include "platform/ShiftJis.h"
#include "support/Runs.h"

using namespace Qt::StringLiterals;
using testing::ElementsAre;

namespace {

class ModePassTest : public testing::Test {
 protected:
  void runPass() {
    const auto refs = runs.references();
    pass.run(refs, options, flags);
  }
  void addHits(PracticeMode mode, std::initializer_list<int> hits, int misses = 0) {
    int day = 1;
    for (int h : hits) runs.add(makeRun(mode, 2023, 5, day++, h, misses));
  }
  QStringList recordLines() const { return pass.HistoryLines.mid(0, pass.HistoryLines.size() - 3); }

  RunList runs;
  ModePassOptions options;
  CelebrationFlags flags;
  ModePass pass;
};

TEST_F(ModePassTest, RecordsAreRunsThatBeatTheBestSoFar) {
  options.mode = ModeRomaji;
  addHits(ModeRomaji, {100, 90, 120, 120, 130});
  addHits(ModeAlphabet, {500});
  runPass();
  ASSERT_EQ(recordLines().size(), 3);
  EXPECT_TRUE(recordLines()[0].startsWith(u"2023-05-01  12:00:00  Hit: 100"_s));
  EXPECT_TRUE(recordLines()[1].startsWith(u"2023-05-03  12:00:00  Hit: 120"_s));
  EXPECT_EQ(pass.GraphLines.size(), 4);
  ASSERT_EQ(pass.RecordPoints.size(), 3u);
  EXPECT_EQ(pass.RecordPoints[2].label, u"2023/05/05"_s);
  EXPECT_EQ(pass.RecordPoints[2].hits, 130);
  EXPECT_EQ(pass.ModeRecords.size(), 5u);
  EXPECT_EQ(pass.KeptRuns, 5u);
  EXPECT_EQ(pass.best, 130);
  // The first record line counts every run before it and 0 days.
  EXPECT_TRUE(recordLines()[0].contains(u"     1回    1回    0日"_s));
  EXPECT_TRUE(recordLines()[1].contains(u"     3回    2回    2日"_s));
}

TEST_F(ModePassTest, SampleHistoryPaneByteForByte) {
  options.mode = ModeAlphabet;
  runs.add(makeRun(ModeAlphabet, 1998, 3, 1, 100, 1));
  for (int i = 2; i <= 44; ++i) runs.add(makeRun(ModeAlphabet, 1998, 3, 2, 50, 2));
  runs.add(makeRun(ModeAlphabet, 1998, 3, 10, 200, 2));
  for (int i = 46; i <= 56; ++i) runs.add(makeRun(ModeAlphabet, 1998, 3, 11, 150, 2));
  runs.add(makeRun(ModeAlphabet, 1998, 3, 15, 245, 3, 21, 5, 33));
  runPass();

  const QStringList pane = ViewTexts::historyPaneLines(pass.HistoryLines, 0);
  ASSERT_GE(pane.size(), 4);
  const char* expected[] = {
      "<<\x89\x70\x8e\x9a\x82\xcc\x91\xab\x90\xd5 >>",
      "\x81\xa6\x8b\x4c\x98\x5e\x8d\x58\x90\x56\x89\xf1\x90\x94: 3\x89\xf1\x81\x69\x91\x8d\x97\xfb\x8f\x4b\x89\xf1"
      "\x90\x94\x81\x46"
      "57\x89\xf1\x81\x6a",
      " \x8b\x4c\x98\x5e\x8d\x58\x90\x56\x93\xfa  \x8d\x58\x90\x56\x8e\x9e\x8d\x8f                     "
      "\x92\xca\x8e\x5a\x89\xf1\x90\x94   \x8c\x6f\x89\xdf\x8a\xfa\x8a\xd4",
      "1998-03-15  21:05:33  Hit: 245  Miss:  3    57\x89\xf1   12\x89\xf1    5\x93\xfa (Level 9)",
  };
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ShiftJis::encode(pane[i]), QByteArray(expected[i])) << i;

  EXPECT_EQ(pass.GraphLines[2], u"1998-03-15 "_s + QString(49, u'o'));
  EXPECT_EQ(ShiftJis::width(pass.GraphScaleLine), 248 / 5 + 11);
  EXPECT_EQ(pass.GraphRuleLine.size(), 60);
}

TEST_F(ModePassTest, LevelRuleByMode) {
  const struct {
    int hits;
    int levels[4];
  } cases[] = {{24, {1, 1, 1, 1}}, {50, {2, 3, 1, 3}}, {75, {3, 4, 2, 4}}, {250, {10, 11, 9, 11}}, {0, {1, 1, 1, 1}}};
  for (const auto& c : cases)
    for (PracticeMode mode = 0; mode < 4; ++mode) EXPECT_EQ(levelOf(mode, c.hits), c.levels[mode]) << c.hits;
}

TEST_F(ModePassTest, LevelUpOnlyShowsRecordsThatRaiseTheLevel) {
  options.mode = ModeAlphabet;
  options.levelUpOnly = true;
  addHits(ModeAlphabet, {30, 40, 60});
  runPass();
  ASSERT_EQ(recordLines().size(), 1);
  EXPECT_TRUE(recordLines()[0].endsWith(u" (Level 2)"_s));
  EXPECT_TRUE(recordLines()[0].contains(u"     3回    3回    0日"_s));
  EXPECT_EQ(pass.GraphLines.size(), 4);
  EXPECT_EQ(pass.RecordPoints.size(), 3u);
  EXPECT_EQ(pass.HistoryLines[2], u"※記録更新回数: 1回（総練習回数：3回）"_s);
}

TEST_F(ModePassTest, KanaStartsAtLevelTwoAndNoLevelTextEverNamesLevelOne) {
  options.mode = ModeKana;
  addHits(ModeKana, {30, 40});
  runPass();
  EXPECT_TRUE(recordLines()[0].endsWith(u"日 (Level 2)"_s));
  EXPECT_TRUE(recordLines()[1].endsWith(u"日"_s));
}

TEST_F(ModePassTest, NoLevelRiseMeansNoHistoryButStillBars) {
  options.mode = ModeAlphabet;
  options.levelUpOnly = true;
  addHits(ModeAlphabet, {20, 45});
  runPass();
  EXPECT_THAT(ViewTexts::historyPaneLines(pass.HistoryLines, 0),
              ElementsAre(u"<<英字の足跡 >>"_s, u"※記録更新回数: 0回（総練習回数：2回）"_s, u"　記録がありません。"_s));
  EXPECT_EQ(ViewTexts::graphPaneLines(pass.GraphLines, 0).size(), 3);
}

TEST_F(ModePassTest, ZeroHitRunNeverSetsARecord) {
  options.mode = ModeSymbols;
  addHits(ModeSymbols, {0, 0});
  runPass();
  EXPECT_TRUE(recordLines().isEmpty());
  EXPECT_EQ(pass.HistoryLines[1], u"※記録更新回数: 0回（総練習回数：2回）"_s);
  EXPECT_EQ(pass.GraphScaleLine, u" 更新日    "_s) << "the first 11 bytes";
  EXPECT_EQ(pass.GraphRuleLine, u"        |--"_s);
}

TEST_F(ModePassTest, NoMissKeepsOnlyRunsWithoutMisses) {
  options.mode = ModeAlphabet;
  options.noMiss = true;
  runs.add(makeRun(ModeAlphabet, 2023, 1, 1, 100, 0));
  runs.add(makeRun(ModeAlphabet, 2023, 1, 2, 200, 5));
  runs.add(makeRun(ModeAlphabet, 2023, 1, 3, 150, 0));
  runPass();
  EXPECT_EQ(pass.ModeRecords.size(), 2u);
  EXPECT_EQ(pass.HistoryLines.last(), u"<<英字ノーミスの足跡 >>"_s);
  EXPECT_EQ(pass.GraphTitle, u"<<英字ノーミスの成長グラフ >>"_s);
  EXPECT_EQ(pass.HistoryLines[3], u"※記録更新回数: 2回（総練習回数：2回）"_s);
  EXPECT_EQ(pass.Miss.totalHits(), 0) << "no miss analysis under the no-miss option";
  EXPECT_EQ(pass.Miss.worstRun(), nullptr);
}

TEST_F(ModePassTest, RecentLimitShowsTheNewestLines) {
  options.mode = ModeRomaji;
  for (int i = 1; i <= 20; ++i) runs.add(makeRun(ModeRomaji, 2023, 1, i, 100 + i, 0));
  runPass();
  const QStringList history = ViewTexts::historyPaneLines(pass.HistoryLines, 5);
  ASSERT_EQ(history.size(), 8);
  EXPECT_TRUE(history[3].startsWith(u"2023-01-20"_s));
  EXPECT_TRUE(history[7].startsWith(u"2023-01-16"_s));
  const QStringList graph = ViewTexts::graphPaneLines(pass.GraphLines, 5);
  ASSERT_EQ(graph.size(), 6);
  EXPECT_EQ(graph[0], pass.GraphTitle);
  EXPECT_TRUE(graph[1].startsWith(u"2023-01-20"_s));
  EXPECT_EQ(ViewTexts::historyPaneLines(pass.HistoryLines, 0).size(), 23);
  EXPECT_EQ(ViewTexts::historyPaneLines(pass.HistoryLines, 255).size(), 23);
}

TEST_F(ModePassTest, LongestBarTakesTheWholeScale) {
  options.mode = ModeRomaji;
  runs.add(makeRun(ModeRomaji, 2023, 1, 1, 999, 255));
  runPass();
  EXPECT_EQ(pass.GraphLines[0], u"2023-01-01 "_s + QString(199, u'o') + QString(51, u'x'));
  EXPECT_EQ(ShiftJis::width(pass.GraphScaleLine), 122);
  EXPECT_EQ(pass.GraphScaleLine, graphScaleText());
  EXPECT_EQ(pass.GraphRuleLine, graphRuleText());
  EXPECT_EQ(graphRuleText().size(), 121);
}

TEST_F(ModePassTest, MarksAreTheChosenCharacters) {
  options.mode = ModeRomaji;
  options.hitMark = u"■"_s;
  options.missMark = u"-"_s;
  runs.add(makeRun(ModeRomaji, 2023, 1, 1, 12, 10));
  runPass();
  EXPECT_EQ(pass.GraphLines[0], u"2023-01-01 ■■--"_s);
}

TEST_F(ModePassTest, CelebrationOncePerModeAndLoad) {
  options.mode = ModeRomaji;
  options.startDate = *DayCount::encodeDate(2023, 5, 2);
  addHits(ModeRomaji, {100, 120});
  addHits(ModeKana, {10});
  runPass();
  EXPECT_TRUE(pass.celebrate);
  runPass();
  EXPECT_FALSE(pass.celebrate) << "the banner was shown for this mode";
  options.mode = ModeKana;
  runPass();
  EXPECT_FALSE(pass.celebrate) << "no record of the kana mode is dated today";
  options.mode = ModeRomaji;
  runPass();
  EXPECT_FALSE(pass.celebrate);
  flags.clear();  // a reload
  runPass();
  EXPECT_TRUE(pass.celebrate);
}

TEST_F(ModePassTest, ARecordBeatenLaterTheSameDayStillCounts) {
  options.mode = ModeRomaji;
  options.startDate = *DayCount::encodeDate(2023, 5, 1);
  addHits(ModeRomaji, {100, 120});  // the 120 of 2023-05-02 is newer but not today
  runPass();
  EXPECT_TRUE(pass.celebrate);
}

TEST_F(ModePassTest, EmptyModeAndUnknownMode) {
  addHits(ModeRomaji, {100});
  for (PracticeMode mode : {ModeSymbols, PracticeMode{7}}) {
    options.mode = mode;
    runPass();
    EXPECT_TRUE(pass.ModeRecords.empty());
    EXPECT_EQ(pass.GraphLines, QStringList{pass.GraphTitle});
    EXPECT_FALSE(pass.celebrate);
  }
  EXPECT_EQ(pass.GraphTitle, u"<<の成長グラフ >>"_s);
}

TEST_F(ModePassTest, MoreThanAThousandRecordsAllBecomePoints) {
  options.mode = ModeRomaji;
  for (int i = 1; i <= 1500; ++i) runs.add(makeRun(ModeRomaji, 2000 + i / 365, 1 + i / 31 % 12, 1 + i % 28, i, 0));
  runPass();
  EXPECT_EQ(pass.RecordPoints.size(), 1500u);
  EXPECT_EQ(pass.RecordPoints.back().hits, 1500);
}

// A reload replaces the loaded runs while the panes and the export still read
// the pass: what it names must not point into them.
TEST_F(ModePassTest, ResultsStayValidAfterTheLoadedRunsAreGone) {
  options.mode = ModeRomaji;
  addHits(ModeRomaji, {100, 90, 120}, 9);
  runPass();
  runs.store.assign(runs.store.size(), makeRun(ModeAlphabet, 1990, 1, 1, 1, 1));
  runs.store.clear();
  runs.store.shrink_to_fit();
  ASSERT_EQ(pass.History.size(), 2u);
  EXPECT_EQ(pass.History[1].run->Hits, 120);
  EXPECT_EQ(pass.RecordRuns[0]->Hits, 100);
  ASSERT_EQ(pass.ModeRecords.size(), 3u);
  EXPECT_EQ(pass.ModeRecords[0]->Hits, 120);
  EXPECT_EQ(pass.ModeRecords[2]->Day, 2);
  ASSERT_NE(pass.Miss.worstRun(), nullptr);
  EXPECT_EQ(pass.Miss.worstRun()->Hits, 90);
  EXPECT_EQ(pass.Miss.worstTen()[0].run->Hits, 90);
  EXPECT_EQ(pass.Miss.worstTen()[2].run->Mode, ModeRomaji);
}

TEST_F(ModePassTest, GraphCopyAllPutsScaleAndRulerAfterTheTitle) {
  options.mode = ModeRomaji;
  addHits(ModeRomaji, {100, 120});
  runPass();
  const QStringList pane = ViewTexts::graphPaneLines(pass.GraphLines, 0);
  EXPECT_THAT(ViewTexts::graphCopyAllLines(pane, pass),
              ElementsAre(pass.GraphTitle, u" 更新日             50       100   "_s,
                          u"        |----------+---------+-----"_s, pane[1], pane[2]));
}

}  // namespace
