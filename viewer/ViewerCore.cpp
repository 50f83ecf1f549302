#include "viewer/ViewerCore.h"

#include <algorithm>
#include <iterator>

ViewerCore::ViewerCore(StoredSizeStore& sizes, LoadFeedback& feedback) : loader_(sizes, feedback) {}

LoadOutcome ViewerCore::load(const QString& recordPath) {
  const LoadOutcome outcome = loader_.load(recordPath, records_);
  // After an out-of-memory load no run is left: what was computed before is gone with them.
  if (outcome == LoadOutcome::Loaded || outcome == LoadOutcome::OutOfMemory) celebration_.clear();
  bestsMeasured_ = false;
  changedModes_.fill(true);
  inDateOrder_.reset();
  selectEraRuns();
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
  inDateOrder_.reset();
  selectEraRuns();  // the era applies to the appended runs as well
  measureBests(inPlace ? known : 0);
  changedModes_.fill(!inPlace);
  if (inPlace) {
    // Runs outside the era change nothing a view shows.
    for (std::size_t i = known; i < records_.AllRecords.size(); ++i) {
      const PracticeRecord& r = *records_.AllRecords[i];
      if (r.Mode < PracticeModeCount && (!era_ || era_->contains(r.Date))) changedModes_[r.Mode] = true;
    }
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
    if (r.Mode >= PracticeModeCount || (era_ && !era_->contains(r.Date))) continue;
    int& best = bests_.all[r.Mode];
    best = std::max<int>(best, r.Hits);
    if (r.Misses == 0) bests_.noMiss[r.Mode] = std::max<int>(bests_.noMiss[r.Mode], r.Hits);
  }
}

void ViewerCore::setSettings(const ViewSettings& settings) {
  settings_ = settings;
  if (ViewSettingsMapping::eraDays(settings_) == era_) return;
  selectEraRuns();
  bestsMeasured_ = false;  // the bests a reload compares with are the new era's
}

void ViewerCore::selectEraRuns() {
  era_ = ViewSettingsMapping::eraDays(settings_);
  eraCopied_ = false;
  eraBegin_ = eraEnd_ = 0;
  eraStore_ = {};
  eraRuns_ = {};
  if (!era_) return;
  const auto& store = records_.RecordStore;
  // A record file written day after day holds the era's runs in one stretch: the views take them where
  // they lie, found by halving. Whether the runs are in date order is found once per load.
  const auto earlier = [](const PracticeRecord& a, const PracticeRecord& b) { return a.Date < b.Date; };
  if (!inDateOrder_) inDateOrder_ = std::is_sorted(store.begin(), store.end(), earlier);
  if (*inDateOrder_) {
    const auto first = std::partition_point(store.begin(), store.end(),
                                            [this](const PracticeRecord& r) { return r.Date < era_->first; });
    const auto end =
        std::partition_point(first, store.end(), [this](const PracticeRecord& r) { return r.Date <= era_->last; });
    eraBegin_ = static_cast<std::size_t>(first - store.begin());
    eraEnd_ = static_cast<std::size_t>(end - store.begin());
    return;
  }
  const auto inEra = [this](const PracticeRecord& r) { return era_->contains(r.Date); };
  const auto first = std::find_if(store.begin(), store.end(), inEra);
  if (first == store.end()) return;
  const auto end =
      std::find_if(std::make_reverse_iterator(store.end()), std::make_reverse_iterator(first), inEra).base();
  eraBegin_ = static_cast<std::size_t>(first - store.begin());
  eraEnd_ = static_cast<std::size_t>(end - store.begin());
  if (std::all_of(first, end, inEra)) return;  // out of order elsewhere only
  eraCopied_ = true;
  eraStore_.reserve(eraEnd_ - eraBegin_);
  std::copy_if(first, end, std::back_inserter(eraStore_), inEra);
  eraRuns_.reserve(eraStore_.size());
  for (const PracticeRecord& r : eraStore_) eraRuns_.push_back(&r);
}

RunsInView ViewerCore::runsInView() const {
  if (eraCopied_) return {eraStore_, eraRuns_};
  if (!era_)
    return {{records_.RecordStore.data(), records_.RecordStore.size()},
            {records_.AllRecords.data(), records_.AllRecords.size()}};
  // The store holds the runs in load order, as AllRecords refers to them.
  const std::size_t count = eraEnd_ - eraBegin_;
  return {{records_.RecordStore.data() + eraBegin_, count}, {records_.AllRecords.data() + eraBegin_, count}};
}

bool ViewerCore::forgetStoredSize(const QString& recordPath) { return loader_.forgetStoredSize(recordPath); }

std::optional<RecordToCelebrate> ViewerCore::recalculateRecords() {
  pass_.run(runsInView().store, ViewSettingsMapping::modePassOptions(settings_), celebration_);
  if (!pass_.celebrate) return std::nullopt;
  return RecordToCelebrate{settings_.practiceMode(), pass_.best};
}

void ViewerCore::recalculateAverages() {
  averages_.calculate(runsInView().runs, ViewSettingsMapping::averageOptions(settings_));
}

std::optional<RecordToCelebrate> ViewerCore::recalculate(View view) {
  if (!viewInfo(view).averagePass) return recalculateRecords();
  recalculateAverages();
  return std::nullopt;
}

QStringList ViewerCore::paneLines(View view) const { return viewInfo(view).paneLines(passes(), settings_); }

QStringList ViewerCore::copyAllLines(View view, const QStringList& paneLines) const {
  const ViewInfo& info = viewInfo(view);
  return info.copyAllLines ? info.copyAllLines(passes(), paneLines) : paneLines;
}

ChartInput ViewerCore::chartInput(View view) const {
  const ViewInfo& info = viewInfo(view);
  return info.chartInput ? info.chartInput(passes()) : ChartInput{};
}
