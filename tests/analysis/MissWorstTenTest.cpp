#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/QtPrinters.h"

#include "analysis/MissWorstTen.h"
#include "analysis/ViewTexts.h"
#include "support/Runs.h"

using namespace Qt::StringLiterals;

namespace {

class MissWorstTenTest : public testing::Test {
 protected:
  // Runs live in `store`, which is filled before the analysis sees them.
  void analyse(int minHits = 0) {
    miss.reset(minHits);
    for (const PracticeRecord& r : store) miss.addRun(r);
  }
  void add(int hits, int misses, int day = 1) { store.push_back(makeRun(ModeAlphabet, 2023, 4, day, hits, misses)); }
  std::vector<int> slotHits() const {
    std::vector<int> hits;
    for (const MissSlot& slot : miss.worstTen()) hits.push_back(slot.run ? slot.run->Hits : -1);
    return hits;
  }
  QStringList pane() const { return ViewTexts::missPaneLines(miss, ModeAlphabet); }

  std::vector<PracticeRecord> store;
  MissAnalysis miss;
};

TEST_F(MissWorstTenTest, EqualRatesPutTheLaterRunAbove) {
  add(90, 10, 1);
  add(180, 20, 2);
  add(100, 50, 3);
  analyse();
  EXPECT_EQ(slotHits(), (std::vector<int>{100, 180, 90, -1, -1, -1, -1, -1, -1, -1}));
}

// Rates that differ as fractions but round to the same single are equal
// rates, the later run above: 240/48001 lies just below the single that
// 241/48201 (just above it) rounds to. A run clearly below the tenth stays out.
TEST_F(MissWorstTenTest, FractionsRoundingToTheSameSingleAreEqualRates) {
  ASSERT_LT(240.0 / 48001, 241.0 / 48201);
  ASSERT_EQ(static_cast<float>(240.0 / 48001), static_cast<float>(241.0 / 48201));
  for (int day = 1; day <= 10; ++day) add(48201 - 241, 241, day);
  add(48001 - 240, 240, 11);
  add(48002 - 240, 240, 12);
  analyse();
  EXPECT_EQ(miss.worstTen()[0].run->Day, 11);
  EXPECT_EQ(miss.worstTen()[1].run->Day, 10);
  EXPECT_EQ(miss.worstTen()[9].run->Day, 2);
}

TEST_F(MissWorstTenTest, MinimumHitsIsInclusive) {
  add(99, 50);
  add(100, 10);
  analyse(100);
  EXPECT_EQ(slotHits()[0], 100);
  EXPECT_EQ(slotHits()[1], -1);
  EXPECT_EQ(pane()[0], u"英字のヒット数が 100 以上のミス率ワースト１０"_s);
}

TEST_F(MissWorstTenTest, ElevenCandidatesDropTheLowestAndStaySorted) {
  for (int i = 1; i <= 11; ++i) add(100, i);
  analyse();
  EXPECT_EQ(miss.worstTen()[0].run->Misses, 11);
  EXPECT_EQ(miss.worstTen()[9].run->Misses, 2);
  for (int i = 1; i < 10; ++i) EXPECT_GE(miss.worstTen()[i - 1].Rate, miss.worstTen()[i].Rate);
}

TEST_F(MissWorstTenTest, WorstSingleRun) {
  add(200, 9, 1);
  add(150, 9, 2);
  add(300, 8, 3);
  add(150, 9, 4);  // equal to the second: the later wins
  analyse();
  EXPECT_EQ(miss.worstRun(), &store[3]);
}

TEST_F(MissWorstTenTest, AStoredRunWithZeroHitsKeepsItsPlace) {
  add(0, 7, 1);
  add(50, 7, 2);
  analyse();
  EXPECT_EQ(miss.worstRun(), &store[0]);
}

TEST_F(MissWorstTenTest, RunWithoutKeystrokesHasNoRate) {
  add(0, 0, 1);
  add(10, 0, 2);
  analyse();
  EXPECT_EQ(slotHits(), (std::vector<int>{10, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
  EXPECT_EQ(miss.worstRun(), &store[0]) << "it is still the first run seen";
}

TEST_F(MissWorstTenTest, RunsWithoutMissesFillTheTableNewestFirst) {
  for (int day = 1; day <= 12; ++day) add(100 + day % 3, 0, day);
  analyse();
  EXPECT_EQ(miss.worstTen()[0].run, &store[11]);
  EXPECT_EQ(miss.worstTen()[9].run, &store[2]);
  EXPECT_EQ(miss.worstRun(), &store[11]) << "the latest with the fewest hits";
  EXPECT_TRUE(pane()[2].endsWith(u"   0.00%"_s));
}

TEST_F(MissWorstTenTest, PaneLayout) {
  store.push_back(makeRun(ModeAlphabet, 2023, 4, 5, 180, 20, 7, 8, 9));
  store.push_back(makeRun(ModeAlphabet, 2023, 4, 6, 31, 1, 23, 59, 0));
  analyse();
  const QStringList lines = pane();
  ASSERT_EQ(lines.size(), 20);
  EXPECT_EQ(lines[1], QString());
  EXPECT_EQ(lines[2], u" 2023-04-05  07:08:09  Hit: 180  Miss: 20  10.00%"_s);
  EXPECT_EQ(lines[3], u" 2023-04-06  23:59:00  Hit:  31  Miss:  1   3.13%"_s) << "halves round up";
  EXPECT_EQ(lines[4], u"   0.00%"_s);
  EXPECT_EQ(lines[13], u"英字のミス打数のワースト記録（同数記録がある場合はヒット最少）"_s);
  EXPECT_EQ(lines[15], u" 2023-04-05  07:08:09  Hit: 180  Miss: 20"_s);
  EXPECT_EQ(lines[17], u"英字の生涯ミス率"_s);
  EXPECT_EQ(lines[19], u" Hit:      211  Miss:      21  MissAver:  9.95%"_s);
}

TEST_F(MissWorstTenTest, LifetimeRatioIsAgainstHitsAlone) {
  add(1000, 25);
  analyse();
  EXPECT_EQ(pane().last(), u" Hit:     1000  Miss:      25  MissAver:  2.50%"_s);
}

TEST_F(MissWorstTenTest, NothingSeen) {
  analyse();
  const QStringList lines = pane();
  ASSERT_EQ(lines.size(), 16) << "no lifetime section";
  for (int i = 2; i < 12; ++i) EXPECT_EQ(lines[i], u"   0.00%"_s);
  EXPECT_EQ(lines[15], QString());
}

TEST_F(MissWorstTenTest, WideNumbersWidenTheRunLine) {
  add(60000, 255);
  analyse();
  EXPECT_EQ(missRunLine(store[0]), u" 2023-04-01  12:00:00  Hit:60000  Miss:255"_s);
  EXPECT_EQ(pane()[2], missRunLine(store[0]) + u"   0.42%"_s);
}

}  // namespace
