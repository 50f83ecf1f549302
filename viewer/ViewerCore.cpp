#include "viewer/ViewerCore.h"

#include "analysis/ViewTexts.h"
#include "viewer/PaneLines.h"

ViewerCore::ViewerCore(StoredSizeStore& sizes, LoadFeedback& feedback) : loader_(sizes, feedback) {}

LoadOutcome ViewerCore::load(const QString& recordPath) {
  const LoadOutcome outcome = loader_.load(recordPath, records_);
  // After an out-of-memory load no run is left: what was computed before is gone with them.
  if (outcome == LoadOutcome::Loaded || outcome == LoadOutcome::OutOfMemory) celebration_.clear();
  bestsMeasured_ = false;
  changedModes_.fill(true);
  return outcome;
}

LoadOutcome ViewerCore::reload(const QString& recordPath, Reload kind) {
  if (!bestsMeasured_) measureBests(0);
  const Bests before = bests_;
  const std::size_t known = records_.AllRecords.size();
  LoadOutcome outcome;
  if (kind == Reload::Replaced) {
    loader_.forgetStoredSize(recordPath);
    outcome = loader_.load(recordPath, records_);
  } else {
    outcome = loader_.loadAppended(
        recordPath, records_,
        kind == Reload::Appended ? RecordLoader::TailEnd::WholeLines : RecordLoader::TailEnd::AsItIs);
  }
  const bool inPlace = outcome == LoadOutcome::Loaded && loader_.lastSummary().kind == LoadKind::Appended;
  measureBests(inPlace ? known : 0);
  changedModes_.fill(!inPlace);
  if (inPlace) {
    for (std::size_t i = known; i < records_.AllRecords.size(); ++i)
      if (records_.AllRecords[i]->Mode < PracticeModeCount) changedModes_[records_.AllRecords[i]->Mode] = true;
  }
  // A best beaten as the views count runs now (all of them, or those without a miss) is a new record.
  const auto& now = settings_.noMiss ? bests_.noMiss : bests_.all;
  const auto& then = settings_.noMiss ? before.noMiss : before.all;
  for (std::size_t m = 0; m < now.size(); ++m)
    if (now[m] > then[m]) celebration_.modes[m] = {};
  return outcome;
}

void ViewerCore::measureBests(std::size_t from) {
  if (from == 0) bests_ = {};
  bestsMeasured_ = true;
  for (std::size_t i = from; i < records_.AllRecords.size(); ++i) {
    const PracticeRecord& r = *records_.AllRecords[i];
    if (r.Mode >= PracticeModeCount) continue;
    int& best = bests_.all[r.Mode];
    best = std::max<int>(best, r.Hits);
    if (r.Misses == 0) bests_.noMiss[r.Mode] = std::max<int>(bests_.noMiss[r.Mode], r.Hits);
  }
}

bool ViewerCore::forgetStoredSize(const QString& recordPath) { return loader_.forgetStoredSize(recordPath); }

std::optional<RecordToCelebrate> ViewerCore::recalculateRecords() {
  // The store holds the runs in load order, as AllRecords refers to them.
  const std::span<const PracticeRecord> all(records_.RecordStore.data(), records_.RecordStore.size());
  pass_.run(all, ViewSettingsMapping::modePassOptions(settings_), celebration_);
  if (!pass_.celebrate) return std::nullopt;
  return RecordToCelebrate{settings_.mode, pass_.best};
}

void ViewerCore::recalculateAverages() {
  const std::span<const PracticeRecord* const> all(records_.AllRecords.data(), records_.AllRecords.size());
  averages_.calculate(all, ViewSettingsMapping::averageOptions(settings_));
}

std::optional<RecordToCelebrate> ViewerCore::recalculate(View view) {
  if (!viewInfo(view).averagePass) return recalculateRecords();
  recalculateAverages();
  return std::nullopt;
}

QStringList ViewerCore::paneLines(View view) const { return PaneLines::of(view, pass_, averages_, settings_); }

QStringList ViewerCore::copyAllLines(View view, const QStringList& paneLines) const {
  switch (view) {
    case ViewGraph: return ViewTexts::graphCopyAllLines(paneLines, pass_);
    case ViewAverage: return averageCopyAllLines(paneLines, averages_);
    case ViewHistory:
    case ViewMiss:
    case ViewBest: break;
  }
  return paneLines;
}

// The record updates behind the history and the graph, the averages behind
// their view; the other views have no points.
ChartInput ViewerCore::chartInput(View view) const {
  switch (view) {
    case ViewHistory:
    case ViewGraph: return {pass_.RecordPoints, pass_.GraphTitle};
    case ViewAverage: return {averages_.AveragePoints, averages_.AverageTitle};
    case ViewMiss:
    case ViewBest: break;
  }
  return {};
}
