#include "settings/Options.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString DefaultPaneFontName = u"ＭＳ ゴシック"_s;
const QString DefaultOiwaiMessage = u"＼(^o^)／＼(^O^)／"_s;
const QString DefaultFanfareName = u"ﾌｧﾝﾌｧｰﾚ.mid"_s;

}  // namespace

const std::array<QString, ViewCount>& paneFontSections() {
  static const std::array<QString, ViewCount> sections = {u"Font"_s, u"GraphFont"_s, u"AverFont"_s, u"MissFont"_s,
                                                          u"BestFont"_s};
  return sections;
}

MainOptions MainOptions::defaults(const SettingsEnvironment& env) {
  MainOptions o;
  o.width = env.screenWidth * 3 / 4;
  o.height = env.screenHeight * 2 / 3;
  o.left = env.screenWidth / 8;
  o.top = env.screenHeight / 6;
  o.fanfare = env.programFolder + DefaultFanfareName;
  o.oiwaiMessage = DefaultOiwaiMessage;
  o.oiwaiFontName = DefaultPaneFontName;
  o.path = env.programFolder;
  for (PaneFont& font : o.fonts) font.name = DefaultPaneFontName;
  return o;
}

MainOptions MainOptions::load(const SettingsFile& f, const SettingsEnvironment& env) {
  using namespace SettingsKeys;
  const MainOptions d = defaults(env);
  MainOptions o = d;
  o.width = f.readInteger(Form, u"Width"_s, d.width);
  o.height = f.readInteger(Form, u"Height"_s, d.height);
  o.left = f.readInteger(Form, u"Left"_s, d.left);
  o.top = f.readInteger(Form, u"Top"_s, d.top);
  o.windowState = f.readInteger(Form, u"WindowState"_s, d.windowState);

  o.hint = f.readBool(Option, u"Hint"_s, d.hint);
  o.recent = f.readByte(Option, u"Recent"_s, d.recent);
  o.defaultType = f.readInteger(Option, u"Default Type"_s, d.defaultType);
  o.hitMark = f.readMark(Option, u"HitMark"_s, d.hitMark);
  o.missMark = f.readMark(Option, u"MissMark"_s, d.missMark);
  o.fanfare = f.readText(Option, u"Fanfare"_s, d.fanfare);
  o.oiwaiMessage = f.readText(Option, u"OiwaiMessage"_s, d.oiwaiMessage);
  o.oiwaiFontName = f.readText(Option, u"OiwaiFontName"_s, d.oiwaiFontName);
  o.oiwaiFontSize = f.readInteger(Option, u"OiwaiFontSize"_s, d.oiwaiFontSize);
  o.oiwaiFontColor = f.readColor(Option, u"OiwaiFontColor"_s, d.oiwaiFontColor);
  o.maxMiss = f.readByte(Option, u"MaxMiss"_s, d.maxMiss);
  o.maxHitMiss = f.readInteger(Option, u"MaxHitMiss"_s, d.maxHitMiss);
  o.countInterval = f.readInteger(Option, u"CountInterval"_s, d.countInterval);
  o.rankCount = std::clamp(f.readInteger(Option, u"RankCount"_s, d.rankCount), RankCountMin, RankCountMax);
  o.show3DGraph = f.readBool(Option, u"Show3DGraph"_s, d.show3DGraph);
  o.missEval = f.readBool(Option, u"MissEval"_s, d.missEval);
  o.autoReload = f.readBool(Option, u"AutoReload"_s, d.autoReload);

  o.path = f.readText(File, u"Path"_s, d.path);
  o.recFile = f.readText(File, u"RecFile"_s, d.recFile);

  for (int pane = 0; pane < ViewCount; ++pane) {
    const QString& section = paneFontSections()[static_cast<std::size_t>(pane)];
    const PaneFont& def = d.fonts[static_cast<std::size_t>(pane)];
    PaneFont& font = o.fonts[static_cast<std::size_t>(pane)];
    font.name = f.readText(section, u"FontName"_s, def.name);
    font.size = f.readInteger(section, u"Size"_s, def.size);
    font.color = f.readColor(section, u"Color"_s, def.color);
    font.backColor = f.readColor(section, u"BackColor"_s, def.backColor);
  }
  return o;
}

bool MainOptions::save(SettingsFile& f, ColorResolver resolveColor) const {
  using namespace SettingsKeys;
  const auto rgb = [resolveColor](SettingsColor c) {
    return isSystemColor(c) ? resolveColor(c) : static_cast<std::uint32_t>(c);
  };
  bool ok = f.writeInteger(Form, u"WindowState"_s, windowState) && f.writeInteger(Form, u"Width"_s, width) &&
            f.writeInteger(Form, u"Height"_s, height) && f.writeInteger(Form, u"Left"_s, left) &&
            f.writeInteger(Form, u"Top"_s, top) && f.writeBool(Option, u"Hint"_s, hint) &&
            f.writeInteger(Option, u"Recent"_s, recent) && f.writeInteger(Option, u"Default Type"_s, defaultType) &&
            f.writeMark(Option, u"HitMark"_s, hitMark) && f.writeMark(Option, u"MissMark"_s, missMark) &&
            f.writeText(Option, u"Fanfare"_s, fanfare) && f.writeText(Option, u"OiwaiMessage"_s, oiwaiMessage) &&
            f.writeText(Option, u"OiwaiFontName"_s, oiwaiFontName) &&
            f.writeInteger(Option, u"OiwaiFontSize"_s, oiwaiFontSize) &&
            f.writeColor(Option, u"OiwaiFontColor"_s, rgb(oiwaiFontColor)) &&
            f.writeInteger(Option, u"MaxMiss"_s, maxMiss) && f.writeInteger(Option, u"MaxHitMiss"_s, maxHitMiss) &&
            f.writeInteger(Option, u"CountInterval"_s, countInterval) &&
            f.writeInteger(Option, u"RankCount"_s, rankCount) && f.writeBool(Option, u"Show3DGraph"_s, show3DGraph) &&
            f.writeBool(Option, u"MissEval"_s, missEval) && f.writeBool(Option, u"AutoReload"_s, autoReload) &&
            f.writeText(File, u"Path"_s, path) && f.writeText(File, u"RecFile"_s, recFile);
  for (int pane = 0; ok && pane < ViewCount; ++pane) {
    const QString& section = paneFontSections()[static_cast<std::size_t>(pane)];
    const PaneFont& font = fonts[static_cast<std::size_t>(pane)];
    ok = f.writeText(section, u"FontName"_s, font.name) && f.writeInteger(section, u"Size"_s, font.size) &&
         f.writeColor(section, u"Color"_s, rgb(font.color)) &&
         f.writeColor(section, u"BackColor"_s, rgb(font.backColor));
  }
  return ok;
}

ChartOptions ChartOptions::defaults(const SettingsEnvironment& env) {
  ChartOptions c;
  c.height = 2 * env.screenHeight / 3;
  c.width = 2 * env.screenWidth / 3;
  c.top = (env.screenHeight - c.height) / 2;
  c.left = (env.screenWidth - c.width) / 2;
  return c;
}

ChartOptions ChartOptions::load(const SettingsFile& f, const SettingsEnvironment& env) {
  using namespace SettingsKeys;
  const ChartOptions d = defaults(env);
  ChartOptions c = d;
  c.height = f.readInteger(ChartForm, u"Height"_s, d.height);
  c.width = f.readInteger(ChartForm, u"Width"_s, d.width);
  // The centring defaults follow the size actually read.
  c.top = f.readInteger(ChartForm, u"Top"_s, (env.screenHeight - c.height) / 2);
  c.left = f.readInteger(ChartForm, u"Left"_s, (env.screenWidth - c.width) / 2);
  c.marker = f.readBool(ChartOption, u"Marker"_s, d.marker);
  c.legend = f.readBool(ChartOption, u"Legend"_s, d.legend);
  c.threeD = f.readBool(ChartOption, u"3D"_s, d.threeD);
  c.barStyle = f.readInteger(ChartOption, u"BarStyle"_s, d.barStyle);
  c.maxPointsPerPage = f.readInteger(ChartOption, u"MaxPointsPerPage"_s, d.maxPointsPerPage);
  return c;
}
