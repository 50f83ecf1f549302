#pragma once

#include <array>

#include "records/PracticeRecord.h"

// Per mode: a record of the mode is dated the day the program started, and its
// banner has been shown. Cleared by every completed load; the mode pass sets
// them, so a banner is shown once per mode and load.
struct CelebrationFlags {
  struct PerMode {
    bool RecordToday = false;
    bool BannerShown = false;
  };
  std::array<PerMode, PracticeModeCount> modes{};

  void clear() { modes = {}; }
};
