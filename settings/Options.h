#pragma once

#include <QString>

#include <array>
#include <cstdint>

#include "analysis/View.h"
#include "settings/SettingsFile.h"

// Every value of the settings file in one typed place: sections, keys,
// defaults and the order in which the main window reads and writes them. The
// windows only bind these fields to their controls.
namespace SettingsKeys {
inline const QString Form = QStringLiteral("Form");
inline const QString Option = QStringLiteral("Option");
inline const QString File = QStringLiteral("File");
inline const QString FileSize = QStringLiteral("FileSize");
inline const QString ChartForm = QStringLiteral("ChartForm");
inline const QString ChartOption = QStringLiteral("ChartOption");
inline const QString OiwaiBmpPattern = QStringLiteral("OiwaiBmpPattern");
}  // namespace SettingsKeys

// What the defaults are computed from.
struct SettingsEnvironment {
  int screenWidth = 1024;
  int screenHeight = 768;
  QString programFolder;  // ends in a path delimiter
};

// Font and background of one text pane.
struct PaneFont {
  QString name;
  int size = 10;
  SettingsColor color = SystemColor(SystemColorWindowText);
  SettingsColor backColor = SystemColor(SystemColorWindow);
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
  // File
  QString path;     // record folder, ends in a path delimiter
  QString recFile;  // record file name without folder
  // Font, GraphFont, AverFont, MissFont, BestFont
  std::array<PaneFont, ViewCount> fonts;

  static MainOptions defaults(const SettingsEnvironment& env);
  static MainOptions load(const SettingsFile& file, const SettingsEnvironment& env);

  // Writes every value in the close order, colours as RGB from `resolveColor`.
  // Stops at the first value that cannot be written and returns false.
  using ColorResolver = std::uint32_t (*)(SettingsColor);
  bool save(SettingsFile& file, ColorResolver resolveColor) const;
};

// Position and display options of the 3D chart window.
struct ChartOptions {
  int height = 0;
  int width = 0;
  int top = 0;
  int left = 0;
  bool marker = true;
  bool legend = true;
  bool threeD = true;
  int barStyle = 0;
  int maxPointsPerPage = 10;

  static ChartOptions defaults(const SettingsEnvironment& env);
  static ChartOptions load(const SettingsFile& file, const SettingsEnvironment& env);
};

inline constexpr int RankCountMin = 1;
inline constexpr int RankCountMax = 1000;

// Section name of each pane's font, in the order the panes are read.
const std::array<QString, ViewCount>& paneFontSections();
