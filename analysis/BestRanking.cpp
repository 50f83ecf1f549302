#include "analysis/BestRanking.h"

#include <cstdint>

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

namespace {

// A run's place as one number (fewer comes first) beside the run itself: the
// two rankings need no call per comparison and no visit to the run.
struct RankKey {
  std::uint32_t order;
  const PracticeRecord* run;
};

void sortByKeys(std::vector<const PracticeRecord*>& runs, bool moreMissesAbove) {
  // Kept from one ranking to the next: a fresh buffer of megabytes costs its pages' zeroing every time.
  static thread_local std::vector<RankKey> keys;
  keys.clear();
  keys.reserve(runs.size());
  for (const PracticeRecord* r : runs) {
    const std::uint32_t misses = moreMissesAbove ? 255u - r->Misses : r->Misses;
    keys.push_back({(0xFFFFu - r->Hits) << 8 | misses, r});
  }
  const auto before = [](const RankKey& a, const RankKey& b) {
    return a.order != b.order ? a.order < b.order : std::less<const PracticeRecord*>()(a.run, b.run);
  };
  if (keys.size() > static_cast<std::size_t>(RankingPlaces)) {
    const auto last = keys.begin() + RankingPlaces;
    std::nth_element(keys.begin(), last, keys.end(), before);
    std::sort(keys.begin(), last, before);
  } else {
    std::sort(keys.begin(), keys.end(), before);
  }
  for (std::size_t i = 0; i < keys.size(); ++i) runs[i] = keys[i].run;
}

}  // namespace

void sortRanking(std::vector<const PracticeRecord*>& runs, RankingComparator comparator) {
  if (comparator == BestCompareMissUp || comparator == BestCompareMissDown) {
    sortByKeys(runs, comparator == BestCompareMissUp);
    return;
  }
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
