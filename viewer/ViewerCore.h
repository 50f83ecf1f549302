#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

#include "analysis/AverageTrend.h"
#include "analysis/CelebrationFlags.h"
#include "analysis/ChartInput.h"
#include "analysis/ModePass.h"
#include "analysis/View.h"
#include "analysis/ViewSettings.h"
#include "records/LoadedRecords.h"
#include "records/RecordLoader.h"

// The runs every view counts, in record-file order: the loaded runs, or while
// an era is set those of its days.
struct RunsInView {
  std::span<const PracticeRecord> store;        // one contiguous array
  std::span<const PracticeRecord* const> runs;  // the same runs, by reference
};

// A record of the start day, to be congratulated on.
struct RecordToCelebrate {
  PracticeMode mode = ModeRomaji;
  int best = 0;  // its hits
};

// The viewer itself, without a window: the runs of one record file, the view
// settings, and the results of the last passes. The main window and the report
// tool give it commands (load, select a mode, set the options, recalculate) and
// show what it answers: each view's pane lines, its copy-all lines, its chart
// input, and the record to celebrate.
//
// A recalculation computes only the pass behind one view: the mode pass behind
// the history, graph, worst-ten and ranking views, or the averages. The pane
// lines are made from the last results and the settings as they stand.
class ViewerCore {
 public:
  ViewerCore(StoredSizeStore& sizes, LoadFeedback& feedback);

  // Loads the record file (again). After a completed load every result is out
  // of date and each mode's record of the start day is celebrated once more.
  LoadOutcome load(const QString& recordPath);
  // A reload while the viewer is open, when the record file has changed: the
  // runs appended since are added (Appended: whole lines only, a line still
  // being written waits; AppendedAsItIs: the tail as it stands), or a file that
  // became shorter or was replaced is loaded anew, its data file rebuilt
  // (Replaced). Unlike a load it celebrates no record twice: only a mode whose
  // best (as the views count runs now) was beaten by the new runs may be
  // celebrated again.
  enum class Reload { Appended, AppendedAsItIs, Replaced };
  LoadOutcome reload(const QString& recordPath, Reload kind);
  // Whether the last load or reload may have changed what the mode's views
  // show: false only after runs of other modes alone were added in place.
  bool changedMode(PracticeMode mode) const { return mode >= PracticeModeCount || changedModes_[mode]; }
  // Makes the next load a full load that rewrites the data file; false when the
  // stored size cannot be written (the message has been shown).
  bool forgetStoredSize(const QString& recordPath);

  const ViewSettings& settings() const { return settings_; }
  // A change of the era picks the runs in view anew.
  void setSettings(const ViewSettings& settings);

  // The mode pass (history, graph, worst ten, ranking). A record of the start
  // day comes back once per mode and load, the first time its pass runs.
  std::optional<RecordToCelebrate> recalculateRecords();
  void recalculateAverages();
  // The pass behind the view.
  std::optional<RecordToCelebrate> recalculate(View view);

  QStringList paneLines(View view) const;
  // What "copy all" takes from the view's pane: the graph and the averages gain
  // their scale and ruler; the others are copied as shown.
  QStringList copyAllLines(View view, const QStringList& paneLines) const;
  // The points behind the view (the record updates behind the history and the
  // graph, the averages behind theirs); the other views have none.
  ChartInput chartInput(View view) const;

  const LoadedRecords& records() const { return records_; }  // every loaded run
  // What the passes, the exports and the calendar count: without an era the
  // loaded runs themselves; with one only the runs of its days, as though the
  // record file held no other lines.
  RunsInView runsInView() const;
  bool hasRuns() const { return !records_.AllRecords.empty(); }
  const ModePass& modePass() const { return pass_; }  // the last mode pass's results
  const AverageTrend& averages() const { return averages_; }
  ViewPasses passes() const { return {pass_, averages_}; }  // both, as the views' functions take them
  const RecordLoader& loader() const { return loader_; }

 private:
  // Each mode's best hits, of every run and of the runs without a miss.
  struct Bests {
    std::array<int, PracticeModeCount> all{};
    std::array<int, PracticeModeCount> noMiss{};
  };
  void measureBests(std::size_t from);  // over the runs from that index on (those in the era)
  void selectEraRuns();                 // after a load, a reload or a change of the era

  RecordLoader loader_;  // one for the program run: what it has told the user, it tells once
  LoadedRecords records_;
  ViewSettings settings_;
  ModePass pass_;
  AverageTrend averages_;
  CelebrationFlags celebration_;
  Bests bests_;
  // Measured at the first reload, not at a load: a program that never reloads
  // (the report tool) never walks the runs for them.
  bool bestsMeasured_ = false;
  std::array<bool, PracticeModeCount> changedModes_{};
  // The era the runs in view were picked for. Its runs lie in one stretch of
  // the store [eraBegin_, eraEnd_) when the file was written day after day;
  // otherwise they are copied into eraStore_ and eraRuns_.
  std::optional<EraDays> era_;
  std::optional<bool> inDateOrder_;  // whether the loaded runs are; found at the first era after a load
  bool eraCopied_ = false;
  std::size_t eraBegin_ = 0;
  std::size_t eraEnd_ = 0;
  std::vector<PracticeRecord> eraStore_;
  std::vector<const PracticeRecord*> eraRuns_;
};
