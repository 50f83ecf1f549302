#pragma once

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
