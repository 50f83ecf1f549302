#include "settings/CalendarOptions.h"

#include "settings/OptionTable.h"

using namespace Qt::StringLiterals;

namespace {

using Field = OptionField<CalendarOptions>;

const OptionTable<CalendarOptions>& table() {
  static const OptionTable<CalendarOptions> fields = {
      Field::integer(u"Left"_s, &CalendarOptions::left, -1),
      Field::integer(u"Top"_s, &CalendarOptions::top, -1),
      Field::integer(u"Width"_s, &CalendarOptions::width, 0),
      Field::integer(u"Height"_s, &CalendarOptions::height, 0),
      Field::boolean(u"AllModes"_s, &CalendarOptions::allModes, false),
  };
  return fields;
}

}  // namespace

CalendarOptions CalendarOptions::load(const SettingsFile& f) {
  CalendarOptions c;
  table().read(f, SettingsKeys::Calendar, c, {});
  return c;
}

bool CalendarOptions::save(SettingsFile& f) const { return table().write(f, SettingsKeys::Calendar, *this); }
