#include "settings/Options.h"

using namespace Qt::StringLiterals;

namespace {

const QString DefaultPaneFontName = u"ＭＳ ゴシック"_s;
const QString DefaultOiwaiMessage = u"＼(^o^)／＼(^O^)／"_s;
const QString DefaultFanfareName = u"ﾌｧﾝﾌｧｰﾚ.mid"_s;

using Main = OptionField<MainOptions>;
using Font = OptionField<PaneFont>;

// A key of a view setting, held in the main options' view settings; its default is the setting's initial value.
template <class T>
Main::Place<T> view(T ViewSettings::*setting) {
  return {&MainOptions::view, setting};
}

const OptionTable<MainOptions>& formTable() {
  static const OptionTable<MainOptions> table = {
      Main::integer(u"WindowState"_s, &MainOptions::windowState, 0),
      Main::integer(u"Width"_s, &MainOptions::width,
                    [](const SettingsEnvironment& e) { return e.screenWidth * 3 / 4; }),
      Main::integer(u"Height"_s, &MainOptions::height,
                    [](const SettingsEnvironment& e) { return e.screenHeight * 2 / 3; }),
      Main::integer(u"Left"_s, &MainOptions::left, [](const SettingsEnvironment& e) { return e.screenWidth / 8; }),
      Main::integer(u"Top"_s, &MainOptions::top, [](const SettingsEnvironment& e) { return e.screenHeight / 6; }),
  };
  return table;
}

const OptionTable<MainOptions>& optionTable() {
  static const OptionTable<MainOptions> table = {
      Main::boolean(u"Hint"_s, &MainOptions::hint, true),
      Main::byte(u"Recent"_s, view(&ViewSettings::recentLimit)),
      // Kept as it is, also a value that names no mode.
      Main::integer(u"Default Type"_s, view(&ViewSettings::mode)),
      Main::mark(u"HitMark"_s, view(&ViewSettings::hitMark)),
      Main::mark(u"MissMark"_s, view(&ViewSettings::missMark)),
      Main::path(u"Fanfare"_s, &MainOptions::fanfare,
                 [](const SettingsEnvironment& e) { return e.programFolder + DefaultFanfareName; }),
      Main::text(u"OiwaiMessage"_s, &MainOptions::oiwaiMessage, DefaultOiwaiMessage),
      Main::text(u"OiwaiFontName"_s, &MainOptions::oiwaiFontName, DefaultPaneFontName),
      Main::integer(u"OiwaiFontSize"_s, &MainOptions::oiwaiFontSize, 28),
      Main::color(u"OiwaiFontColor"_s, &MainOptions::oiwaiFontColor, White),
      Main::byte(u"MaxMiss"_s, view(&ViewSettings::maxMiss)),
      Main::integer(u"MaxHitMiss"_s, view(&ViewSettings::minHitMiss)),  // the file's name for the fewest keystrokes
      Main::integer(u"CountInterval"_s, view(&ViewSettings::countInterval)),
      Main::integer(u"RankCount"_s, view(&ViewSettings::rankCount), {}, std::pair(RankCountMin, RankCountMax)),
      Main::boolean(u"Show3DGraph"_s, &MainOptions::show3DGraph, false),
      Main::boolean(u"MissEval"_s, view(&ViewSettings::moreMissesAbove)),
      Main::boolean(u"AutoReload"_s, &MainOptions::autoReload, true),
      Main::day(u"EraFrom"_s, view(&ViewSettings::eraFrom)),
      Main::day(u"EraTo"_s, view(&ViewSettings::eraTo)),
  };
  return table;
}

const OptionTable<MainOptions>& fileTable() {
  static const OptionTable<MainOptions> table = {
      Main::path(u"Path"_s, &MainOptions::path, [](const SettingsEnvironment& e) { return e.programFolder; }),
      Main::text(u"RecFile"_s, &MainOptions::recFile, QString()),
  };
  return table;
}

// The keys of each pane's section.
const OptionTable<PaneFont>& paneFontTable() {
  static const OptionTable<PaneFont> table = {
      Font::text(u"FontName"_s, &PaneFont::name, DefaultPaneFontName),
      Font::integer(u"Size"_s, &PaneFont::size, 10),
      Font::color(u"Color"_s, &PaneFont::color, SystemColor(SystemColorWindowText)),
      Font::color(u"BackColor"_s, &PaneFont::backColor, SystemColor(SystemColorWindow)),
  };
  return table;
}

// The main window's own sections, in the order they are written.
struct MainSection {
  const QString& name;
  const OptionTable<MainOptions>& table;
};
std::array<MainSection, 3> mainSections() {
  return {
      {{SettingsKeys::Form, formTable()}, {SettingsKeys::Option, optionTable()}, {SettingsKeys::File, fileTable()}}};
}

}  // namespace

const std::array<QString, PaneCount>& paneFontSections() {
  static const std::array<QString, PaneCount> sections = [] {
    std::array<QString, PaneCount> names;
    for (const ViewInfo& info : Views) names[info.view] = info.fontSection.toString();
    return names;
  }();
  return sections;
}

MainOptions MainOptions::defaults(const SettingsEnvironment& env) {
  MainOptions o;
  for (const MainSection& section : mainSections()) section.table.setDefaults(o, env);
  for (PaneFont& font : o.fonts) paneFontTable().setDefaults(font, env);
  return o;
}

MainOptions MainOptions::load(const SettingsFile& f, const SettingsEnvironment& env) {
  MainOptions o;
  for (const MainSection& section : mainSections()) section.table.read(f, section.name, o, env);
  for (std::size_t pane = 0; pane < o.fonts.size(); ++pane)
    paneFontTable().read(f, paneFontSections()[pane], o.fonts[pane], env);
  return o;
}

bool MainOptions::save(SettingsFile& f, ColorResolver resolveColor) const {
  for (const MainSection& section : mainSections())
    if (!section.table.write(f, section.name, *this, resolveColor)) return false;
  for (std::size_t pane = 0; pane < fonts.size(); ++pane)
    if (!paneFontTable().write(f, paneFontSections()[pane], fonts[pane], resolveColor)) return false;
  return true;
}
