#pragma once

#include <vector>

#include "records/PracticeRecord.h"

// The ranking of the personal-best view: hits, higher first; among equal hits
// misses, more above (box ticked) or more below. Both return a negative number
// when `a` comes first, a positive one when `b` does, 0 for equal runs.
int BestCompareMissUp(const PracticeRecord& a, const PracticeRecord& b);
int BestCompareMissDown(const PracticeRecord& a, const PracticeRecord& b);

using RankingComparator = int (*)(const PracticeRecord&, const PracticeRecord&);

RankingComparator rankingComparatorFor(bool moreMissesAbove);

// The most ranks the view can show.
inline constexpr int RankingPlaces = 1000;

// Orders the best RankingPlaces runs at the front of `runs` (the rest stays in
// no particular order). Runs equal in hits and misses keep their load order,
// the earlier above, so every rank count shows the same list. `runs` must
// point into one store in load order.
void sortRanking(std::vector<const PracticeRecord*>& runs, RankingComparator comparator);
