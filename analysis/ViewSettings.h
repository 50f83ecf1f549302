#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <limits>
#include <optional>

#include "analysis/AverageTrend.h"
#include "analysis/EraDays.h"
#include "analysis/ModePass.h"
#include "records/PracticeRecord.h"

// Everything the five views are computed and shown with, in one value: the
// main window reads it off its menus and controls, the report tool off the
// settings file and its command line. Both then compute through the same
// mapping below, so that the window's panes and the report tool's output
// cannot drift apart. The settings file keeps those of its values that outlast
// a program run (the main options bind their keys to these members, each
// member's initial value being the key's default); the others start so in
// every run.
struct ViewSettings {
  // The current mode. The settings file may give one that names no mode: it is
  // kept as it came and written back so, and the window computes nothing for it.
  int mode = ModeRomaji;
  bool noMiss = false;
  bool levelUpOnly = false;
  AveragePeriod period = AveragePeriod::Day;
  int countInterval = 50;  // the block size of the count period
  int maxMiss = 255;       // averages leave out runs with more misses
  int minHitMiss = 0;      // averages leave out runs with fewer keystrokes
  int minHits = 0;         // the worst ten's minimum hits
  int rankCount = 10;
  bool moreMissesAbove = true;  // the ranking's tie-break
  int recentLimit = 0;          // newest lines shown, 0 = all
  QString hitMark = QStringLiteral("o");
  QString missMark = QStringLiteral("x");
  double startDate = 0;  // the day the program started, as a day count: a record of that day celebrates
  QDateTime now;         // the clock of the ranking's header
  // The era: while either day is set, every view counts only the runs of the
  // days from `eraFrom` up to `eraTo` (both included; a null date leaves that side open).
  QDate eraFrom;
  QDate eraTo;

  PracticeMode practiceMode() const { return static_cast<PracticeMode>(mode); }

  bool operator==(const ViewSettings&) const = default;
};

namespace ViewSettingsMapping {

ModePassOptions modePassOptions(const ViewSettings& settings);
AverageOptions averageOptions(const ViewSettings& settings);
// The era's days; none when no era is set.
std::optional<EraDays> eraDays(const ViewSettings& settings);
// The main window's title: the program's name, and the era while one is set,
// "ＴＡＰＰＥＲの足跡32 (2025/04/01 以降)" or "(2025/04/01 ～ 2025/12/31)".
// The era as the window names it ("2025/04/01 以降"; empty without one), and the title with it.
QString eraText(const ViewSettings& settings);
QString windowTitle(const ViewSettings& settings);

}  // namespace ViewSettingsMapping
