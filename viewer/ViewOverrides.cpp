#include "viewer/ViewOverrides.h"

#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

ViewSettings ViewOverrides::over(const MainOptions& stored, const QDateTime& clock) const {
  ViewSettings s = ViewerSession::viewSettingsOf(stored);
  if (mode) s.mode = *mode;
  s.noMiss = noMiss;
  s.levelUpOnly = levelUpOnly;
  s.period = period;
  s.countInterval = countInterval.value_or(s.countInterval);
  s.maxMiss = maxMiss.value_or(s.maxMiss);
  s.minHitMiss = minHitMiss.value_or(s.minHitMiss);
  s.minHits = minHits;
  s.rankCount = rankCount.value_or(s.rankCount);
  if (moreMissesBelow) s.moreMissesAbove = false;
  s.recentLimit = recentLimit.value_or(s.recentLimit);
  s.hitMark = hitMark.value_or(s.hitMark);
  s.missMark = missMark.value_or(s.missMark);
  s.now = now.value_or(clock);
  // The report runs "on the day the program started": the day of its clock.
  s.startDate = ViewerSession::startDate(s.now.date(), 0);
  if (allDays) s.eraFrom = s.eraTo = QDate();
  if (since) s.eraFrom = *since;
  if (until) s.eraTo = *until;
  return s;
}

QString ViewOverrides::eraError(const ViewSettings& settings) const {
  if (!settings.eraFrom.isValid() || !settings.eraTo.isValid() || settings.eraTo >= settings.eraFrom) return {};
  const auto day = [](const QDate& d) { return d.toString(Qt::ISODate); };
  if (since)
    return u"--since %1 is after the last day of the era the settings file keeps (%2); give --until or --all-days"_s
        .arg(day(settings.eraFrom), day(settings.eraTo));
  return u"--until %1 is before the first day of the era the settings file keeps (%2); give --since or --all-days"_s
      .arg(day(settings.eraTo), day(settings.eraFrom));
}
