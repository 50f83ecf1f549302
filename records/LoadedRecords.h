#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

#include "records/PracticeRecord.h"
#include "records/StoreArray.h"

// Every kept run of a record file. RecordStore is one contiguous array
// allocated in advance for the estimated number of runs; AllRecords refers
// into it in record-file order. Moving the whole object keeps the references
// valid.
struct LoadedRecords {
  StoreArray<PracticeRecord> RecordStore;
  StoreArray<const PracticeRecord*> AllRecords;
  std::array<std::uint32_t, PracticeModeCount> ModeCounts{};
  std::int64_t RecordCapacity = 0;  // the size estimate the store was allocated for

  // What the runs, the data file and the stored size all describe after a
  // load that brought the data file up to date: the record file (its canonical
  // path) and the size up to which it was read. Runs appended later can then
  // be added in place (RecordLoader::loadAppended). Empty otherwise.
  QString CachedFile;
  std::int64_t CachedUpTo = 0;

  void clear() {
    RecordStore = {};
    AllRecords = {};
    ModeCounts = {};
    RecordCapacity = 0;
    CachedFile.clear();
    CachedUpTo = 0;
  }
};
