#include "analysis/ViewSettings.h"

#include "records/DayCount.h"

using namespace Qt::StringLiterals;

namespace ViewSettingsMapping {

ModePassOptions modePassOptions(const ViewSettings& s) {
  ModePassOptions o;
  o.mode = s.practiceMode();
  o.noMiss = s.noMiss;
  o.levelUpOnly = s.levelUpOnly;
  o.hitMark = s.hitMark;
  o.missMark = s.missMark;
  o.startDate = s.startDate;
  o.moreMissesAbove = s.moreMissesAbove;
  o.minHits = s.minHits;
  return o;
}

AverageOptions averageOptions(const ViewSettings& s) {
  AverageOptions o;
  o.mode = s.practiceMode();
  o.noMiss = s.noMiss;
  o.period = s.period;
  o.maxMiss = s.maxMiss;
  o.minHitMiss = s.minHitMiss;
  o.countInterval = s.countInterval;
  o.hitMark = s.hitMark;
  o.missMark = s.missMark;
  return o;
}

namespace {

// A day the day count cannot hold lies before or after every run.
std::int32_t dayOf(const QDate& day) {
  using Limits = std::numeric_limits<std::int32_t>;
  return DayCount::encodeDay(day.year(), day.month(), day.day())
      .value_or(day.year() < 1 ? Limits::min() : Limits::max());
}

QString shown(const QDate& day) { return day.toString(u"yyyy/MM/dd"_s); }

}  // namespace

std::optional<EraDays> eraDays(const ViewSettings& s) {
  if (!s.eraFrom.isValid() && !s.eraTo.isValid()) return std::nullopt;
  EraDays days;
  if (s.eraFrom.isValid()) days.first = dayOf(s.eraFrom);
  if (s.eraTo.isValid()) days.last = dayOf(s.eraTo);
  return days;
}

QString eraText(const ViewSettings& s) {
  if (s.eraFrom.isValid() && s.eraTo.isValid()) return shown(s.eraFrom) + u" ～ "_s + shown(s.eraTo);
  if (s.eraFrom.isValid()) return shown(s.eraFrom) + u" 以降"_s;
  if (s.eraTo.isValid()) return shown(s.eraTo) + u" まで"_s;
  return {};
}

QString windowTitle(const ViewSettings& s) {
  const QString name = u"ＴＡＰＰＥＲの足跡32"_s;
  const QString era = eraText(s);
  return era.isEmpty() ? name : name + u" ("_s + era + u')';
}

}  // namespace ViewSettingsMapping
