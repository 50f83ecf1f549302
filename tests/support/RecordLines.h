#pragma once

#include <string>

#include "tools/RecordFileGenerator.h"

// A record line as TAPPER writes it, from readable parts.
inline std::string recordLine(PracticeMode mode, int year, int month, int day, int hour, int min, int sec, int hits,
                              int misses) {
  GeneratedRun run;
  run.mode = mode;
  run.date = {year, month, day};
  run.time = {hour, min, sec};
  run.hits = hits;
  run.misses = misses;
  return formatRecordLine(run);
}
