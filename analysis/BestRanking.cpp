#include "analysis/BestRanking.h"

int BestCompareMissUp(const PracticeRecord& a, const PracticeRecord& b) {
  if (b.Hits != a.Hits) return b.Hits > a.Hits ? 1 : -1;
  if (b.Misses != a.Misses) return b.Misses > a.Misses ? 1 : -1;
  return 0;
}

int BestCompareMissDown(const PracticeRecord& a, const PracticeRecord& b) {
  if (b.Hits != a.Hits) return b.Hits > a.Hits ? 1 : -1;
  if (b.Misses != a.Misses) return b.Misses < a.Misses ? 1 : -1;
  return 0;
}

RankingComparator rankingComparatorFor(bool moreMissesAbove) {
  return moreMissesAbove ? BestCompareMissUp : BestCompareMissDown;
}
