#include "analysis/MissWorstTen.h"

#include <algorithm>

#include "analysis/TextFormat.h"

using namespace Qt::StringLiterals;

void MissAnalysis::reset(int minHits) {
  MissWorstTen = {};
  worstRun_ = nullptr;
  TotalHits = 0;
  TotalMisses = 0;
  minHits_ = minHits;
}

// Ties on the rate put the later run above the earlier one.
void MissAnalysis::offerToWorstTen(const PracticeRecord& run, int keys) {
  const auto rate = static_cast<float>(static_cast<double>(run.Misses) / keys);
  if (rate < MissWorstTen.back().Rate) return;
  for (int i = 0; i < Slots; ++i) {
    if (rate >= MissWorstTen[static_cast<std::size_t>(i)].Rate) {
      std::move_backward(MissWorstTen.begin() + i, MissWorstTen.end() - 1, MissWorstTen.end());
      MissWorstTen[static_cast<std::size_t>(i)] = {rate, &run};
      return;
    }
  }
}

QString missRunLine(const PracticeRecord& r) {
  using TextFormat::twoDigits;
  return u' ' + TextFormat::number(r.Year, 4) + u'-' + twoDigits(r.Month) + u'-' + twoDigits(r.Day) + u"  "_s +
         twoDigits(r.Hour) + u':' + twoDigits(r.Min) + u':' + twoDigits(r.Sec) + u"  Hit:"_s +
         TextFormat::number(r.Hits, 4) + u"  Miss:"_s + TextFormat::number(r.Misses, 3);
}
