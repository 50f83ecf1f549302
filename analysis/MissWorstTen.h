#pragma once

#include <QString>

#include <array>
#include <cstdint>

#include "records/PracticeRecord.h"

// One place of the worst-ten table: the run's miss rate as a 32-bit single and
// the run itself (its text is made when the view is shown).
struct MissSlot {
  float Rate = 0.0f;
  const PracticeRecord* run = nullptr;  // none: an empty slot
};

// The miss analyses the mode pass drives run by run: lifetime totals, the run
// with the most misses, and the ten runs with the worst miss rate among those
// with at least `minHits` hits. The referenced runs must outlive the analysis
// (the mode pass hands it copies of its own once the walk is done).
class MissAnalysis {
 public:
  static constexpr int Slots = 10;

  void reset(int minHits);
  // Totals, then the worst single run, then the worst ten. Inline, as the
  // mode pass calls it for every run; most runs are decided here.
  void addRun(const PracticeRecord& run) {
    TotalHits += run.Hits;
    TotalMisses += run.Misses;
    updateWorstRun(run);
    if (run.Hits < minHits_) return;
    const int keys = run.Hits + run.Misses;
    if (keys == 0) return;  // no rate without a keystroke
    // Below the tenth: the common case. A rate clearly below it is told
    // without a division (the margin is wider than the rounding to a single).
    if (static_cast<double>(run.Misses) < static_cast<double>(keys) * MissWorstTen.back().Rate * (1.0 - 0x1p-22))
      return;
    offerToWorstTen(run, keys);
  }

  // Points the analysis at lasting copies of its runs; `copy` gives the copy
  // of the run it is handed.
  template <class Copy>
  void keepCopies(Copy&& copy) {
    for (MissSlot& slot : MissWorstTen)
      if (slot.run) slot.run = copy(*slot.run);
    if (worstRun_) worstRun_ = copy(*worstRun_);
  }

  int minHits() const { return minHits_; }
  const std::array<MissSlot, Slots>& worstTen() const { return MissWorstTen; }
  // The run with the most misses (among equals the fewest hits, then the
  // latest), or none before the first run.
  const PracticeRecord* worstRun() const { return worstRun_; }
  std::int64_t totalHits() const { return TotalHits; }
  std::int64_t totalMisses() const { return TotalMisses; }

 private:
  // Among runs with as many misses the one with fewer hits wins, and among
  // runs equal in both the later one. Whether a run is stored is its own
  // question: a stored run with 0 hits keeps its place against one with more.
  void updateWorstRun(const PracticeRecord& run) {
    if (!worstRun_ || run.Misses > worstRun_->Misses ||
        (run.Misses == worstRun_->Misses && worstRun_->Hits >= run.Hits))
      worstRun_ = &run;
  }
  void offerToWorstTen(const PracticeRecord& run, int keys);

  std::array<MissSlot, Slots> MissWorstTen{};
  const PracticeRecord* worstRun_ = nullptr;
  std::int64_t TotalHits = 0;
  std::int64_t TotalMisses = 0;
  int minHits_ = 0;
};

// " yyyy-mm-dd  hh:nn:ss  Hit:%4d  Miss:%3d" of a run, from its parts.
QString missRunLine(const PracticeRecord& run);
