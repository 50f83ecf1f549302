#pragma once

#include <QDate>

#include "settings/OptionField.h"

// The progress chart window's place, its range and the number of runs its
// means run over (section Progress): read before the window opens, written
// whenever it is hidden.
struct ProgressOptions {
  int left = -1;  // with top: -1 places the window beside the main window
  int top = -1;
  int width = 0;  // with height: 0 gives the first size
  int height = 0;
  int window = 10;     // the runs of a trailing mean, >= 1
  int range = 0;       // the range's kind, in the order of the window's range list (0 the whole time)
  int lastRuns = 100;  // the N of "the newest N runs"
  QDate from;          // the two days of a range of dates (null: not chosen yet)
  QDate to;
  bool allModes = false;  // every mode's runs rather than the mode shown

  static ProgressOptions load(const SettingsFile& file);
  // Stops at the first value that cannot be written and returns false.
  bool save(SettingsFile& file) const;

  bool operator==(const ProgressOptions&) const = default;
};
