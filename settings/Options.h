#pragma once

#include <QDate>
#include <QString>

#include <array>
#include <cstdint>

#include "settings/OptionTable.h"
#include "settings/SettingsFile.h"

// The main window's values of the settings file in one typed place, read and
// written through one table per section (Options.cpp). The windows only bind
// these fields to their controls.

// The text panes, one per view (held equal to the views' count where both are seen).
inline constexpr int PaneCount = 5;

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
  std::uint8_t recent = 0;  // display-count limit, 0 = all
  int defaultType = 2;      // current mode
  QString hitMark = QStringLiteral("o");
  QString missMark = QStringLiteral("x");
  QString fanfare;
  QString oiwaiMessage;
  QString oiwaiFontName;
  int oiwaiFontSize = 28;
  SettingsColor oiwaiFontColor = White;
  std::uint8_t maxMiss = 255;
  int maxHitMiss = 0;
  int countInterval = 50;
  int rankCount = 10;  // held to 1..1000 like its spin box
  bool show3DGraph = false;
  bool missEval = true;
  bool autoReload = true;  // follow the record file while the viewer is open
  QDate eraFrom;           // the views count runs from this day on (null: from the first)
  QDate eraTo;             // and up to this day (null: up to the last)
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

// Section name of each pane's font, in the order the panes are read.
const std::array<QString, PaneCount>& paneFontSections();
