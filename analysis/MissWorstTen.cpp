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

void MissAnalysis::addRun(const PracticeRecord& run) {
  TotalHits += run.Hits;
  TotalMisses += run.Misses;
  updateWorstRun(run);
  offerToWorstTen(run);
}

// Among runs with as many misses the one with fewer hits wins, and among runs
// equal in both the later one. Whether a run is stored is its own question:
// a stored run with 0 hits keeps its place against one with more hits.
void MissAnalysis::updateWorstRun(const PracticeRecord& run) {
  if (!worstRun_ || run.Misses > worstRun_->Misses || (run.Misses == worstRun_->Misses && worstRun_->Hits >= run.Hits))
    worstRun_ = &run;
}

// Ties on the rate put the later run above the earlier one.
void MissAnalysis::offerToWorstTen(const PracticeRecord& run) {
  if (run.Hits < minHits_) return;
  const int keys = run.Hits + run.Misses;
  if (keys == 0) return;  // no rate without a keystroke
  // Below the tenth: the common case. A rate clearly below it is told without
  // a division (the margin is wider than the rounding to a single); a rate
  // near it is worked out.
  const float tenth = MissWorstTen.back().Rate;
  if (static_cast<double>(run.Misses) < static_cast<double>(keys) * tenth * (1.0 - 0x1p-22)) return;
  const auto rate = static_cast<float>(static_cast<double>(run.Misses) / keys);
  if (rate < tenth) return;
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
