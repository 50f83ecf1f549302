#pragma once

#include "settings/OptionField.h"

// The practice calendar window's place and its mode choice (section
// Calendar): read before the window opens, written whenever it is hidden.
struct CalendarOptions {
  int left = -1;  // with top: -1 places the window beside the main window
  int top = -1;
  int width = 0;  // with height: 0 gives the size that shows a whole year
  int height = 0;
  bool allModes = false;  // count every mode rather than the mode shown

  static CalendarOptions load(const SettingsFile& file);
  // Stops at the first value that cannot be written and returns false.
  bool save(SettingsFile& file) const;

  bool operator==(const CalendarOptions&) const = default;
};
