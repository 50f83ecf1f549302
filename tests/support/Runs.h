#pragma once

#include <vector>

#include "records/DayCount.h"
#include "records/PracticeRecord.h"

// A run built from readable parts, as the loader would keep it.
inline PracticeRecord makeRun(PracticeMode mode, int year, int month, int day, int hits, int misses, int hour = 12,
                              int min = 0, int sec = 0) {
  PracticeRecord r;
  r.Mode = mode;
  r.Year = static_cast<std::uint16_t>(year);
  r.Month = static_cast<std::uint8_t>(month);
  r.Day = static_cast<std::uint8_t>(day);
  r.Hour = static_cast<std::uint8_t>(hour);
  r.Min = static_cast<std::uint8_t>(min);
  r.Sec = static_cast<std::uint8_t>(sec);
  r.Date = DayCount::encodeDay(year, month, day).value_or(0);
  r.Hits = static_cast<std::uint16_t>(hits);
  r.Misses = static_cast<std::uint8_t>(misses);
  return r;
}

// Loaded runs: a store and the references into it.
struct RunList {
  std::vector<PracticeRecord> store;

  RunList& add(const PracticeRecord& r) {
    store.push_back(r);
    return *this;
  }
  std::vector<const PracticeRecord*> references() const {
    std::vector<const PracticeRecord*> refs;
    for (const PracticeRecord& r : store) refs.push_back(&r);
    return refs;
  }
};
