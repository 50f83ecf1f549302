#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "analysis/BestRanking.h"
#include "analysis/CelebrationFlags.h"
#include "analysis/ChartPoint.h"
#include "analysis/MissWorstTen.h"

struct ModePassOptions {
  PracticeMode mode = ModeRomaji;  // CurrentMode
  bool noMiss = false;             // keep only runs without misses
  bool levelUpOnly = false;        // history lines only for level rises
  QString hitMark = QStringLiteral("o");
  QString missMark = QStringLiteral("x");
  double startDate = 0;         // the day the program started, as a day count
  bool moreMissesAbove = true;  // the ranking's tie-break
  int minHits = 0;              // the worst ten's minimum hits
};

// One line of the record history as values: the record run and the counts the
// line shows beside it.
struct HistoryEntry {
  const PracticeRecord* run = nullptr;  // the pass's own copy
  int runsSoFar = 0;                    // the mode's runs up to and with this one ("通算回数")
  int runsSince = 0;                    // runs since the record of the line before
  long long daysSince = 0;              // days since the record of the line before; 0 on the first line
  int level = 0;                        // the level this record rose to, 0 when it rose no level
};

// MainProcedure's work: one walk over the loaded runs for the current mode. It
// counts the mode's runs, builds the record history (runs that beat the best
// hit count so far, with the level reached) and the text chart with their chart
// points, drives the miss analyses run by run, chooses the ranking and notes a
// record set on the day the program started.
//
// The runs the results name (history, bars, ranking, worst runs) are copied
// into the pass, so the results stay valid when the loaded runs are replaced;
// the mode's other runs are only looked at.
class ModePass {
 public:
  ModePass() = default;
  // The results refer into the pass's own copies, so a pass is never copied.
  ModePass(const ModePass&) = delete;
  ModePass& operator=(const ModePass&) = delete;

  void run(std::span<const PracticeRecord* const> allRecords, const ModePassOptions& options,
           CelebrationFlags& celebration);
  // The same over runs kept one after another in load order (a loaded
  // record store): no reference to follow per run.
  void run(std::span<const PracticeRecord> allRecords, const ModePassOptions& options, CelebrationFlags& celebration);

  std::size_t KeptRuns = 0;                        // the mode's runs the pass counted (without misses under no-miss)
  std::vector<const PracticeRecord*> ModeRecords;  // the best RankingPlaces of them, ranked (RankingSelection)
  QStringList HistoryLines;                        // oldest first, then the column header, the totals and the title
  std::vector<HistoryEntry> History;               // the record lines of HistoryLines as values, oldest first
  std::vector<const PracticeRecord*> RecordRuns;   // every record update, oldest first: the bars of GraphLines
  QStringList GraphLines;                          // oldest first, then GraphTitle
  QString GraphTitle;
  QString GraphScaleLine;
  QString GraphRuleLine;
  ChartPoints RecordPoints;
  MissAnalysis Miss;
  int best = 0;  // hits of the best run
  // A record of this mode is dated the start day and its banner was not shown
  // yet: the caller shows it now (the flags already say it was shown).
  bool celebrate = false;

 private:
  template <class Runs>
  void runOver(const Runs& allRecords, const ModePassOptions& options, CelebrationFlags& celebration);
  template <class Runs>
  void walk(const Runs& allRecords, const ModePassOptions& options, CelebrationFlags::PerMode& flags);
  void finishTexts(const ModePassOptions& options, int shownLines, int bestWidth);
  const PracticeRecord* keepCopy(const PracticeRecord& run);

  std::deque<PracticeRecord> ownRuns_;  // what the results point at; a deque never moves them
};

// The level a best hit count reaches in a mode.
int levelOf(PracticeMode mode, int bestHits);

// The mode's name in the view titles ("英字", "カナ", "ローマ字", "記号"), empty
// for a code outside 0..3.
QString modeTitleName(PracticeMode mode);

// "ノーミス" when the no-miss option is on.
QString noMissLabel(bool noMiss);

// The scale and ruler of the text chart, whole.
QString graphScaleText();
QString graphRuleText();
