#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/ChartPoint.h"
#include "records/PracticeRecord.h"

// The groupings of the average view, numbered as the tags of its period buttons.
enum class AveragePeriod { Day = 1, Week = 2, Month = 3, Year = 4, Count = 5 };

struct AverageOptions {
  PracticeMode mode = ModeRomaji;  // CurrentMode
  bool noMiss = false;             // the no-miss option
  AveragePeriod period = AveragePeriod::Day;
  int maxMiss = 255;       // AverMaxMiss: runs with more misses are left out
  int minHitMiss = 0;      // AverMinHitMiss: runs with fewer hits + misses are left out
  int countInterval = 50;  // AverCountInterval: the block size N of AveragePeriod::Count
  QString hitMark = QStringLiteral("o");
  QString missMark = QStringLiteral("x");
};

// One group of the average view as values: what its line shows.
struct AverageGroup {
  QString label;          // as the line shows it (at most 10 columns, blanks included)
  std::int64_t runs = 0;  // the line's run count; for blocks of N runs the running count of kept runs
  int hitAverage = 0;     // whole hits, the fraction dropped
  int missAverage = 0;
};

// AverageCalc's work: the average hits and misses per day, week, month, year or
// block of N runs of one mode, as the lines of the average view (oldest group
// first, then the column header and the title) and as chart points.
class AverageTrend {
 public:
  void calculate(std::span<const PracticeRecord* const> allRecords, const AverageOptions& options);

  QStringList AverageLines;
  std::vector<AverageGroup> Groups;  // the data lines of AverageLines as values, oldest first
  QString AverageTitle;
  QString AverageScaleLine;  // column header + scale numbers, cut to the longest bar
  QString AverageRuleLine;   // ruler, cut to the longest bar
  ChartPoints AveragePoints;
};

// ShowAver's text: the pane's lines, newest group first under the title and the
// column header, at most `recentLimit` groups (0 = all).
QStringList averagePaneLines(const QStringList& averageLines, int recentLimit);

// What "copy all" takes from the average pane: its second line replaced by the
// scale line and the ruler.
QStringList averageCopyAllLines(const QStringList& paneLines, const AverageTrend& trend);
