#include "analysis/RankingSelection.h"

#include <algorithm>

RankingSelection::RankingSelection(bool moreMissesAbove, std::size_t places)
    : moreMissesAbove_(moreMissesAbove), places_(std::max<std::size_t>(places, 1)) {
  candidates_.reserve(2 * places_);
}

// Keeps the best `places` candidates; the worst of them bounds what may follow.
void RankingSelection::keepBest() {
  const auto last = candidates_.begin() + static_cast<std::ptrdiff_t>(places_ - 1);
  std::nth_element(candidates_.begin(), last, candidates_.end(),
                   [](const Candidate& a, const Candidate& b) { return a.key < b.key; });
  worstKept_ = last->key;
  candidates_.resize(places_);
}

void RankingSelection::finish(std::vector<const PracticeRecord*>& ranked) {
  if (candidates_.size() > places_) keepBest();
  std::sort(candidates_.begin(), candidates_.end(),
            [](const Candidate& a, const Candidate& b) { return a.key < b.key; });
  ranked.clear();
  ranked.reserve(candidates_.size());
  for (const Candidate& c : candidates_) ranked.push_back(c.run);
}
