#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/QtPrinters.h"

#include <algorithm>
#include <random>

#include "analysis/BestRanking.h"
#include "analysis/RankingSelection.h"
#include "analysis/ViewTexts.h"
#include "support/Runs.h"

using namespace Qt::StringLiterals;

namespace {

struct HitsMisses {
  int hits, misses;
  bool operator==(const HitsMisses&) const = default;
};

std::vector<const PracticeRecord*> select(const std::vector<PracticeRecord>& store, bool moreMissesAbove,
                                          std::size_t places = RankingPlaces) {
  RankingSelection selection(moreMissesAbove, places);
  for (const PracticeRecord& r : store) selection.offer(r);
  std::vector<const PracticeRecord*> refs;
  selection.finish(refs);
  return refs;
}

std::vector<HitsMisses> ranked(const std::vector<PracticeRecord>& store, bool moreMissesAbove) {
  std::vector<HitsMisses> out;
  for (const PracticeRecord* r : select(store, moreMissesAbove)) out.push_back({r->Hits, r->Misses});
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

// The selection keeps only the best places; they must be what a full, stable
// sort by the comparators gives, equal runs in load order. The orders of
// offering include the ones that make every run a candidate (a typist getting
// slower) and none after the first places (getting faster), runs all equal,
// and fewer runs than places.
TEST(BestRanking, SelectedPlacesMatchAFullStableSort) {
  std::mt19937 random(5);
  const auto randomRuns = [&](int count, int hitsSpread, int missSpread) {
    std::vector<PracticeRecord> store;
    for (int i = 0; i < count; ++i)
      store.push_back(makeRun(ModeRomaji, 2023, 1, 1 + i % 28, 250 + static_cast<int>(random() % hitsSpread),
                              static_cast<int>(random() % missSpread)));
    return store;
  };
  const auto rising = [](int count, int step) {
    std::vector<PracticeRecord> store;
    for (int i = 0; i < count; ++i) store.push_back(makeRun(ModeRomaji, 2023, 1, 1, 100 + step * i / 7, i % 5));
    return store;
  };
  struct Case {
    const char* name;
    std::vector<PracticeRecord> store;
    std::size_t places;
  };
  const std::vector<Case> cases = {
      {"random, many ties", randomRuns(20000, 60, 8), RankingPlaces},
      {"random, few places", randomRuns(5000, 400, 30), 7},
      {"ever slower", rising(9000, -1), RankingPlaces},
      {"ever faster", rising(9000, 1), RankingPlaces},
      {"all equal", std::vector<PracticeRecord>(3001, makeRun(ModeRomaji, 2023, 1, 1, 100, 1)), RankingPlaces},
      {"fewer than the places", randomRuns(999, 60, 8), RankingPlaces},
      {"none", {}, RankingPlaces},
  };
  for (const Case& c : cases) {
    for (bool above : {true, false}) {
      SCOPED_TRACE(testing::Message() << c.name << (above ? ", more misses above" : ", fewer misses above"));
      std::vector<const PracticeRecord*> expected;
      for (const PracticeRecord& r : c.store) expected.push_back(&r);
      const RankingComparator comparator = rankingComparatorFor(above);
      std::stable_sort(expected.begin(), expected.end(),
                       [comparator](auto* a, auto* b) { return comparator(*a, *b) < 0; });
      expected.resize(std::min(expected.size(), c.places));
      EXPECT_EQ(select(c.store, above, c.places), expected);
    }
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
