#pragma once

#include "settings/OptionField.h"

// Position and display options of the 3D chart window (sections ChartForm and
// ChartOption): read before the window opens, written when it closes.
struct ChartOptions {
  int height = 0;
  int width = 0;
  int top = 0;
  int left = 0;
  bool marker = true;
  bool legend = true;
  bool threeD = true;
  int barStyle = 0;  // -1: none chosen
  int maxPointsPerPage = 10;

  // Two thirds of the screen, centred; a size read from the file is centred too.
  static ChartOptions defaults(const SettingsEnvironment& env);
  static ChartOptions load(const SettingsFile& file, const SettingsEnvironment& env);
  // Stops at the first value that cannot be written and returns false.
  bool save(SettingsFile& file) const;

  bool operator==(const ChartOptions&) const = default;
};
