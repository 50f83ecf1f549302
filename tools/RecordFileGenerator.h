#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/DayCount.h"
#include "records/PracticeRecord.h"

// One run as TAPPER writes it.
struct GeneratedRun {
  PracticeMode mode = ModeRomaji;
  DayCount::CivilDate date{2000, 1, 1};
  DayCount::ClockTime time{0, 0, 0};
  int hits = 0;
  int misses = 0;
};

// A record line in TAPPER's 46-byte layout (44 bytes and CR LF), for instance
// "A 1998/03/15  21:05:33  HIT =  85  MISS=   3\r\n". The kana mode letter is
// the Shift-JIS byte 0xB1.
std::string formatRecordLine(const GeneratedRun& run);

// The days a record file's runs can have for the viewer's data file to hold
// them (its years 1900 to 2155): every run generated falls between them.
inline constexpr DayCount::CivilDate EarliestDay{1900, 1, 1};
inline constexpr DayCount::CivilDate LatestDay{2155, 12, 31};

struct GeneratorOptions {
  std::uint64_t seed = 1;
  int runs = 3000;
  DayCount::CivilDate start{2021, 4, 1};
  int fewestRunsADay = 1;  // on a day of practice
  int mostRunsADay = 9;
  // How often each mode is practised: alphabet, kana, romaji, symbols.
  std::array<double, PracticeModeCount> modeShares{0.25, 0.20, 0.40, 0.15};
  // A last run in the romaji mode (the viewer's first mode) beats that mode's
  // best hit count: a new record.
  bool finalRecord = false;
  // When set, the newest run falls on this day: every date is shifted, or,
  // with `keepStart`, the practice days are spread evenly from `start` (the
  // first run stays there) to this day (which must not be before `start`).
  std::optional<DayCount::CivilDate> newestDay;
  bool keepStart = false;
};

// A typist's realistic progress in all four modes: several runs on most days,
// breaks of days, hits rising with practice and misses falling. The same seed
// always gives the same runs. The runs are in time order, every one later
// than or at the same second as the one before, and fall between EarliestDay
// and LatestDay: runs that would reach beyond (a million from the start day,
// or moved back from the newest day) are squeezed into fewer days.
std::vector<GeneratedRun> generateRuns(const GeneratorOptions& options);

// The record file's bytes for the runs.
std::string recordFileBytes(const std::vector<GeneratedRun>& runs);
