#pragma once

#include <cstdint>
#include <vector>

#include "records/PracticeRecord.h"

// Chooses the best-runs ranking in one walk over a mode's runs, holding only a
// few thousand candidates however many runs there are. Runs are offered in
// load order; they are ranked as BestCompareMissUp or BestCompareMissDown
// order them, equal runs in the order offered (the earlier above), so every
// rank count shows the same list.
//
// Each run becomes one 64-bit key, its place in the order above its offer
// number: keys never tie, and a run whose key is not below the worst of the
// best places found so far is passed over with one comparison.
class RankingSelection {
 public:
  explicit RankingSelection(bool moreMissesAbove, std::size_t places);

  void offer(const PracticeRecord& run) {
    const std::uint32_t misses = moreMissesAbove_ ? 255u - run.Misses : run.Misses;
    const std::uint64_t key = std::uint64_t{(0xFFFFu - run.Hits) << 8 | misses} << 32 | offered_++;
    if (key >= worstKept_) return;
    candidates_.push_back({key, &run});
    if (candidates_.size() == 2 * places_) keepBest();
  }

  // The best runs, best first, at most `places` of them.
  void finish(std::vector<const PracticeRecord*>& ranked);

 private:
  struct Candidate {
    std::uint64_t key;
    const PracticeRecord* run;
  };
  void keepBest();

  bool moreMissesAbove_;
  std::size_t places_;
  std::uint32_t offered_ = 0;
  std::uint64_t worstKept_ = UINT64_MAX;  // keys from here on cannot make the ranking
  std::vector<Candidate> candidates_;
};
