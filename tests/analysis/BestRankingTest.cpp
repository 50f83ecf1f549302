#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/QtPrinters.h"

#include <algorithm>
#include <random>

#include "analysis/BestRanking.h"
#include "analysis/ViewTexts.h"
#include "support/Runs.h"

using namespace Qt::StringLiterals;

namespace {

struct HitsMisses {
  int hits, misses;
  bool operator==(const HitsMisses&) const = default;
};

std::vector<HitsMisses> ranked(const std::vector<PracticeRecord>& store, bool moreMissesAbove) {
  std::vector<const PracticeRecord*> refs;
  for (const PracticeRecord& r : store) refs.push_back(&r);
  sortRanking(refs, rankingComparatorFor(moreMissesAbove));
  std::vector<HitsMisses> out;
  for (const PracticeRecord* r : refs) out.push_back({r->Hits, r->Misses});
  return out;
}

const QDateTime Now(QDate(2026, 12, 7), QTime(8, 5, 9));

TEST(BestRanking, TieBreakOnMisses) {
  const std::vector<PracticeRecord> store = {makeRun(ModeRomaji, 2023, 1, 1, 300, 5),
                                             makeRun(ModeRomaji, 2023, 1, 2, 300, 9),
                                             makeRun(ModeRomaji, 2023, 1, 3, 310, 20)};
  EXPECT_EQ(ranked(store, true), (std::vector<HitsMisses>{{310, 20}, {300, 9}, {300, 5}}));
  EXPECT_EQ(ranked(store, false), (std::vector<HitsMisses>{{310, 20}, {300, 5}, {300, 9}}));
  EXPECT_EQ(BestCompareMissUp(store[0], store[0]), 0);
  EXPECT_LT(BestCompareMissUp(store[2], store[0]), 0);
  EXPECT_GT(BestCompareMissDown(store[1], store[0]), 0);
}

// The ranking orders only its first thousand places; they must be what a full,
// stable sort would give, equal runs in load order.
TEST(BestRanking, FirstThousandPlacesMatchAFullStableSort) {
  std::mt19937 random(5);
  std::vector<PracticeRecord> store;
  for (int i = 0; i < 20000; ++i)
    store.push_back(makeRun(ModeRomaji, 2023, 1, 1 + i % 28, 250 + static_cast<int>(random() % 60),
                            static_cast<int>(random() % 8)));
  for (bool above : {true, false}) {
    std::vector<const PracticeRecord*> refs;
    for (const PracticeRecord& r : store) refs.push_back(&r);
    std::vector<const PracticeRecord*> expected = refs;
    const RankingComparator comparator = rankingComparatorFor(above);
    std::stable_sort(expected.begin(), expected.end(),
                     [comparator](auto* a, auto* b) { return comparator(*a, *b) < 0; });
    sortRanking(refs, comparator);
    ASSERT_TRUE(std::equal(refs.begin(), refs.begin() + RankingPlaces, expected.begin()));
  }
}

TEST(BestRanking, PaneHeaderAndRankLines) {
  std::vector<PracticeRecord> store = {makeRun(ModeKana, 2023, 4, 5, 310, 20, 7, 8, 9),
                                       makeRun(ModeKana, 2023, 4, 6, 300, 0)};
  std::vector<const PracticeRecord*> refs = {&store[0], &store[1]};
  EXPECT_THAT(ViewTexts::bestPaneLines(refs, 3, false, ModeKana, Now),
              testing::ElementsAre(u"かな自己記録のベスト3 (2026/12/07 8:05:09 現在)"_s, QString(),
                                   u"第 1位  2023-04-05  07:08:09  Hit: 310  Miss: 20"_s,
                                   u"第 2位  2023-04-06  12:00:00  Hit: 300  Miss:  0"_s));
  EXPECT_EQ(ViewTexts::bestPaneLines(refs, 1, true, ModeAlphabet, Now)[0],
            u"英字ノーミス自己記録のベスト1 (2026/12/07 8:05:09 現在)"_s);
  EXPECT_EQ(ViewTexts::bestPaneLines({}, 10, false, ModeSymbols, Now).size(), 2);
}

TEST(BestRanking, RankFieldWidensFromRankHundred) {
  std::vector<PracticeRecord> store(1200, makeRun(ModeRomaji, 2023, 1, 1, 100, 1));
  std::vector<const PracticeRecord*> refs;
  for (const PracticeRecord& r : store) refs.push_back(&r);
  const QStringList pane = ViewTexts::bestPaneLines(refs, 1000, false, ModeRomaji, Now);
  ASSERT_EQ(pane.size(), 1002);
  EXPECT_TRUE(pane[2 + 8].startsWith(u"第 9位  "_s));
  EXPECT_TRUE(pane[2 + 99].startsWith(u"第100位  "_s));
  EXPECT_TRUE(pane[2 + 999].startsWith(u"第1000位  "_s));
}

}  // namespace
