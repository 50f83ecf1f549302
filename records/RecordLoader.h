#pragma once

#include <QString>

#include <chrono>
#include <cstdint>
#include <set>

#include "records/DataFile.h"
#include "records/LoadFeedback.h"
#include "records/LoadedRecords.h"
#include "records/ProgressCounter.h"
#include "records/StoredSizeStore.h"

enum class LoadOutcome {
  Loaded,        // every run is in the records; the loading window is still shown
  NoRecordFile,  // nothing changed; the caller lets the user choose a file
  Unreadable,    // the record file exists but cannot be read; nothing changed
  TailFailed,    // an appended line did not parse; the records hold what came before
  OutOfMemory,   // the runs do not fit in memory; the records are empty, no file was written
};

enum class LoadKind { None, Full, Incremental, Appended };

// What the last load did, for the tools and the tests.
struct LoadSummary {
  LoadKind kind = LoadKind::None;
  std::int64_t decodedEntries = 0;  // runs taken from the compressed data file
  std::int64_t parsedLines = 0;     // lines or appended pieces parsed
  std::int64_t badLines = 0;        // lines of a full load that did not parse
  bool cacheKept = false;           // the data file and the stored size were brought up to date
};

// Loads a record file into LoadedRecords, keeping the compressed data file
// (".hok") beside it so that later loads parse only the lines appended since.
// The stored sizes (the settings file's section "FileSize") remember, per
// record file, how large it was when the data file was last completed; 0 means
// that no data file is trusted and the next load is a full load.
//
// - The record file is only ever opened for reading, and read up to the size it
//   had when the load began; what is appended meanwhile is for the next load,
//   so the stored size and the data file always describe the same bytes.
// - A data file whose path leads to the record file itself is never written:
//   such a file is loaded fully every time, and the user is told once.
// - The data file and the stored size are read and changed under an exclusive
//   lock on the data file, so that two loads of one file (two viewers, the
//   viewer and the report tool) never both append the same tail. A load that
//   cannot get the lock in time loads fully and writes no cache; while it
//   waits, LoadFeedback::keepWaiting() keeps the windows alive. The lock goes
//   with the process, so a killed load leaves none behind.
// - The stored size is set to 0 before the data file is truncated or appended
//   to, and the record file's size is written only once the data file is
//   complete and on the disk, so a crash or a power cut at any moment leads to a
//   full load next time.
// - Only regular files are opened; nothing blocks on a FIFO.
// - Before its entries are trusted, the data file is checked against the record
//   file up to the stored size (DataFileCheck: the number of entries, the first
//   and the last); one that no longer describes it is rebuilt by a full load.
class RecordLoader {
 public:
  RecordLoader(StoredSizeStore& sizes, LoadFeedback& feedback);

  LoadOutcome load(const QString& recordPath, LoadedRecords& records);

  // Adds the runs appended to the record file since `records` were loaded,
  // without decoding the data file again: the tail is parsed, appended to the
  // runs and to the data file, and the stored size moves on, as a load would
  // leave them. When the runs in memory no longer match the data file and the
  // stored size (another program loaded meanwhile, the file became shorter,
  // the cache was not kept), or an appended line does not parse, it is a
  // plain load instead. With WholeLines, a last line still being written (a
  // piece shorter than a line) is left for the next call.
  enum class TailEnd { WholeLines, AsItIs };
  LoadOutcome loadAppended(const QString& recordPath, LoadedRecords& records, TailEnd tailEnd = TailEnd::WholeLines);

  // Makes the next load of the record file a full load that rewrites its
  // data file. False when the settings file cannot be written (the message
  // has been shown).
  bool forgetStoredSize(const QString& recordPath);

  const LoadSummary& lastSummary() const { return summary_; }

  // How long a load waits for another load of the same file to finish (the
  // feedback's keepWaiting() is called between tries). A wait that ran out is
  // not waited again by the next try, so that a reload (loadAppended and the
  // load it turns into, forgetStoredSize and the load after it) waits once.
  void setLockWait(std::chrono::milliseconds wait) { lockWait_.wait = wait; }

  // A full load of a record file of at least this many bytes parses its
  // second half on a second thread (AheadLineParser), and the data file's
  // entries of as many 46-byte lines are decoded or written in two halves
  // (DataFile); 0 never does.
  static constexpr std::int64_t DefaultSecondThreadFrom = 4 << 20;
  void setSecondThreadFrom(std::int64_t bytes) { secondThreadFrom_ = bytes; }

  // The record path with its extension replaced by ".hok".
  static QString dataFilePathFor(const QString& recordPath);

 private:
  class Session;

  LoadOutcome outOfMemory(const QString& recordPath, LoadedRecords& records);

  StoredSizeStore& sizes_;
  LoadFeedback& feedback_;
  LoadSummary summary_;
  DataFile::LockWait lockWait_;
  std::int64_t secondThreadFrom_ = DefaultSecondThreadFrom;
  std::set<QString> toldDataFileIsRecordFile_;  // canonical record paths
};
