#include "viewer/ViewerCore.h"

#include "analysis/ViewTexts.h"
#include "viewer/PaneLines.h"

ViewerCore::ViewerCore(StoredSizeStore& sizes, LoadFeedback& feedback) : loader_(sizes, feedback) {}

LoadOutcome ViewerCore::load(const QString& recordPath) {
  const LoadOutcome outcome = loader_.load(recordPath, records_);
  // After an out-of-memory load no run is left: what was computed before is gone with them.
  if (outcome == LoadOutcome::Loaded || outcome == LoadOutcome::OutOfMemory) celebration_.clear();
  return outcome;
}

bool ViewerCore::forgetStoredSize(const QString& recordPath) { return loader_.forgetStoredSize(recordPath); }

std::optional<RecordToCelebrate> ViewerCore::recalculateRecords() {
  const std::span<const PracticeRecord* const> all(records_.AllRecords.data(), records_.AllRecords.size());
  pass_.run(all, records_.ModeCounts, ViewSettingsMapping::modePassOptions(settings_), celebration_);
  if (!pass_.celebrate) return std::nullopt;
  return RecordToCelebrate{settings_.mode, pass_.best};
}

void ViewerCore::recalculateAverages() {
  const std::span<const PracticeRecord* const> all(records_.AllRecords.data(), records_.AllRecords.size());
  averages_.calculate(all, ViewSettingsMapping::averageOptions(settings_));
}

std::optional<RecordToCelebrate> ViewerCore::recalculate(View view) {
  if (view != ViewAverage) return recalculateRecords();
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
