#include "settings/ChartOptions.h"

#include "settings/OptionTable.h"

using namespace Qt::StringLiterals;

namespace {

using Field = OptionField<ChartOptions>;

const OptionTable<ChartOptions>& formTable() {
  static const OptionTable<ChartOptions> table = {
      Field::integer(u"Height"_s, &ChartOptions::height,
                     [](const SettingsEnvironment& e) { return 2 * e.screenHeight / 3; }),
      Field::integer(u"Width"_s, &ChartOptions::width,
                     [](const SettingsEnvironment& e) { return 2 * e.screenWidth / 3; }),
      // Centred at the size read.
      Field::integer(
          u"Top"_s, &ChartOptions::top,
          [](const SettingsEnvironment& e, const ChartOptions& c) { return (e.screenHeight - c.height) / 2; }),
      Field::integer(u"Left"_s, &ChartOptions::left,
                     [](const SettingsEnvironment& e, const ChartOptions& c) { return (e.screenWidth - c.width) / 2; }),
  };
  return table;
}

const OptionTable<ChartOptions>& optionTable() {
  static const OptionTable<ChartOptions> table = {
      Field::boolean(u"Marker"_s, &ChartOptions::marker, true),
      Field::boolean(u"Legend"_s, &ChartOptions::legend, true),
      Field::boolean(u"3D"_s, &ChartOptions::threeD, true),
      Field::integer(u"BarStyle"_s, &ChartOptions::barStyle, 0),
      Field::integer(u"MaxPointsPerPage"_s, &ChartOptions::maxPointsPerPage, 10),
  };
  return table;
}

}  // namespace

ChartOptions ChartOptions::defaults(const SettingsEnvironment& env) {
  ChartOptions c;
  formTable().setDefaults(c, env);
  optionTable().setDefaults(c, env);
  return c;
}

ChartOptions ChartOptions::load(const SettingsFile& f, const SettingsEnvironment& env) {
  ChartOptions c;
  formTable().read(f, SettingsKeys::ChartForm, c, env);
  optionTable().read(f, SettingsKeys::ChartOption, c, env);
  return c;
}

bool ChartOptions::save(SettingsFile& f) const {
  return formTable().write(f, SettingsKeys::ChartForm, *this) &&
         optionTable().write(f, SettingsKeys::ChartOption, *this);
}
