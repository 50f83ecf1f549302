#pragma once

#include <QString>

#include <array>

#include "analysis/View.h"
#include "analysis/ViewSettings.h"
#include "settings/OptionTable.h"
#include "settings/SettingsFile.h"

// The main window's values of the settings file in one typed place, read and
// written through one table per section (Options.cpp). The windows only bind
// these fields to their controls.

// The text panes, one per view.
inline constexpr int PaneCount = ViewCount;

// Font and background of one text pane.
struct PaneFont {
  QString name;
  int size = 10;
  SettingsColor color = SystemColor(SystemColorWindowText);
  SettingsColor backColor = SystemColor(SystemColorWindow);

  bool operator==(const PaneFont&) const = default;
};

// The main window's options, read once at start-up and written once at close.
struct MainOptions {
  // Form
  int width = 0;
  int height = 0;
  int left = 0;
  int top = 0;
  int windowState = 0;  // 0 normal, 1 minimised, 2 maximised
  // Option
  bool hint = true;
  QString fanfare;
  QString oiwaiMessage;
  QString oiwaiFontName;
  int oiwaiFontSize = 28;
  SettingsColor oiwaiFontColor = White;
  bool show3DGraph = false;
  bool autoReload = true;  // follow the record file while the viewer is open
  // The keys of the views' values (the current mode, the display-count limit,
  // the graph marks, the averages' filters and interval, the rank count, held
  // to 1..1000 like its spin box, and its tie-break, the era) are bound to
  // these members; their defaults are the ones ViewSettings starts with.
  ViewSettings view;
  // File
  QString path;     // record folder, ends in a path delimiter
  QString recFile;  // record file name without folder
  // Font, GraphFont, AverFont, MissFont, BestFont
  std::array<PaneFont, PaneCount> fonts;

  static MainOptions defaults(const SettingsEnvironment& env);
  static MainOptions load(const SettingsFile& file, const SettingsEnvironment& env);

  // Writes every value in the close order, colours as RGB from `resolveColor`.
  // Stops at the first value that cannot be written and returns false.
  using ColorResolver = ::ColorResolver;
  bool save(SettingsFile& file, ColorResolver resolveColor) const;

  bool operator==(const MainOptions&) const = default;
};

inline constexpr int RankCountMin = 1;
inline constexpr int RankCountMax = 1000;

// Section name of each pane's font (the view table's), in the order the panes are read.
const std::array<QString, PaneCount>& paneFontSections();
