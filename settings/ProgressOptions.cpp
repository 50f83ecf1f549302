#include "settings/ProgressOptions.h"

#include "settings/OptionTable.h"

using namespace Qt::StringLiterals;

namespace {

using Field = OptionField<ProgressOptions>;

constexpr int MostRuns = 100'000'000;

const OptionTable<ProgressOptions>& table() {
  static const OptionTable<ProgressOptions> fields = {
      Field::integer(u"Left"_s, &ProgressOptions::left, -1),
      Field::integer(u"Top"_s, &ProgressOptions::top, -1),
      Field::integer(u"Width"_s, &ProgressOptions::width, 0),
      Field::integer(u"Height"_s, &ProgressOptions::height, 0),
      Field::integer(u"Window"_s, &ProgressOptions::window, 10, std::pair(1, MostRuns)),
      Field::integer(u"Range"_s, &ProgressOptions::range, 0, std::pair(0, 7)),
      Field::integer(u"LastRuns"_s, &ProgressOptions::lastRuns, 100, std::pair(1, MostRuns)),
      Field::day(u"From"_s, &ProgressOptions::from),
      Field::day(u"To"_s, &ProgressOptions::to),
      Field::boolean(u"AllModes"_s, &ProgressOptions::allModes, false),
  };
  return fields;
}

}  // namespace

ProgressOptions ProgressOptions::load(const SettingsFile& f) {
  ProgressOptions p;
  table().read(f, SettingsKeys::Progress, p, {});
  return p;
}

bool ProgressOptions::save(SettingsFile& f) const { return table().write(f, SettingsKeys::Progress, *this); }
