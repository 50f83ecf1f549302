#include "analysis/BestRanking.h"

#include <algorithm>
#include <functional>

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

void sortRanking(std::vector<const PracticeRecord*>& runs, RankingComparator comparator) {
  const auto before = [comparator](const PracticeRecord* a, const PracticeRecord* b) {
    const int order = comparator(*a, *b);
    return order != 0 ? order < 0 : std::less<const PracticeRecord*>()(a, b);
  };
  if (runs.size() > static_cast<std::size_t>(RankingPlaces)) {
    const auto last = runs.begin() + RankingPlaces;
    std::nth_element(runs.begin(), last, runs.end(), before);
    std::sort(runs.begin(), last, before);
  } else {
    std::sort(runs.begin(), runs.end(), before);
  }
}
