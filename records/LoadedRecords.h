#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "records/PracticeRecord.h"
#include "records/StoreAllocator.h"

// Every kept run of a record file. RecordStore is one contiguous array
// allocated in advance for the estimated number of runs; AllRecords refers
// into it in record-file order. Moving the whole object keeps the references
// valid.
struct LoadedRecords {
  StoreVector<PracticeRecord> RecordStore;
  StoreVector<const PracticeRecord*> AllRecords;
  std::array<std::uint32_t, PracticeModeCount> ModeCounts{};
  std::int64_t RecordCapacity = 0;  // the size estimate the store was allocated for

  void clear() {
    RecordStore = {};
    AllRecords = {};
    ModeCounts = {};
    RecordCapacity = 0;
  }
};
