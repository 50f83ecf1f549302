#pragma once

#include <cstddef>
#include <cstdint>

#include "records/DataFileEntry.h"
#include "records/LoadedRecords.h"

// The runs of one load on their way into LoadedRecords: the store reserved
// for what the files can hold, each run counted in by its mode and checked to
// hold exactly in a data-file entry, and the references taken once the store
// is complete.
class StoreFiller {
 public:
  // Runs parsed into the store's spare room at a time.
  static constexpr std::size_t RunsAtATime = 256;

  explicit StoreFiller(LoadedRecords& records) : records_(records) {}

  LoadedRecords& records() { return records_; }

  // Empties the records and reserves the store for `reserved` runs, when that
  // much memory is there (otherwise it grows as runs are kept); `capacity` is
  // the estimate the records keep.
  void start(std::int64_t capacity, std::int64_t reserved);

  // A run of a valid mode, parsed outside the store.
  void keep(const PracticeRecord& run) {
    records_.RecordStore.push_back(run);
    countIn(run);
  }
  void countIn(const PracticeRecord& run) {
    ++records_.ModeCounts[run.Mode];
    if (!DataFileEntry::holdsExactly(run)) inexact_ = true;
  }
  // Room for RunsAtATime runs in the store's spare room, growing the store
  // when it has less.
  std::size_t makeRoom();
  // Counts in the runs just parsed into the store's spare room.
  void keepInPlace(std::size_t count);

  // Whether a run kept since start() does not hold exactly in a data-file
  // entry (the data file then cannot stand for the record file).
  bool inexact() const { return inexact_; }
  void setInexact() { inexact_ = true; }

  // The store may have grown past its estimate, so references are taken once
  // it is complete; those taken before stay while the store has not moved.
  void finishReferences();

 private:
  LoadedRecords& records_;
  bool inexact_ = false;
};
