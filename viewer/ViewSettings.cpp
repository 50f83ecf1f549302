#include "viewer/ViewSettings.h"

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

}  // namespace ViewSettingsMapping
