#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

#include "analysis/AverageTrend.h"
#include "analysis/ViewSettings.h"
#include "settings/Options.h"

// What the report tool's command line changes in the view settings the
// settings file gives, for this run only. What it leaves out keeps the
// settings file's value (or the viewer's start value); the no-miss and
// level-up flags, the average period and the worst ten's minimum hits are the
// command line's alone.
struct ViewOverrides {
  std::optional<int> mode{};
  bool noMiss = false;
  bool levelUpOnly = false;
  AveragePeriod period = AveragePeriod::Day;
  std::optional<int> countInterval{};
  std::optional<int> maxMiss{};
  std::optional<int> minHitMiss{};  // --min-keys
  int minHits = 0;
  std::optional<int> rankCount{};
  bool moreMissesBelow = false;  // --miss-down
  std::optional<int> recentLimit{};
  std::optional<QString> hitMark{};
  std::optional<QString> missMark{};
  std::optional<QDateTime> now{};
  bool allDays = false;          // every run counts, whatever era the settings file keeps
  std::optional<QDate> since{};  // the era: only the runs of these days count
  std::optional<QDate> until{};

  // The settings file's options with these taken over them; `clock` is the
  // time when no `now` is given, and its day the start day.
  ViewSettings over(const MainOptions& stored, const QDateTime& clock) const;

  // Why the era of `settings` holds no day, when `since` or `until` meets the
  // other side kept in the settings file the wrong way round; empty when it is
  // good. (Both given are refused when the command line is read; the settings
  // file's own era is read as none when it ends before it starts.)
  QString eraError(const ViewSettings& settings) const;
};
