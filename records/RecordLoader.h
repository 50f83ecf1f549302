#pragma once

#include <QString>

#include <cstdint>

#include "records/LoadFeedback.h"
#include "records/LoadedRecords.h"

class SettingsFile;

enum class LoadOutcome {
  Loaded,        // every run is in the records; the loading window is still shown
  NoRecordFile,  // nothing changed; the caller lets the user choose a file
  Unreadable,    // the record file exists but cannot be read; nothing changed
  TailFailed,    // an appended line did not parse; the records hold what came before
};

enum class LoadKind { None, Full, Incremental };

// What the last load did, for the tools and the tests.
struct LoadSummary {
  LoadKind kind = LoadKind::None;
  std::int64_t decodedEntries = 0;  // runs taken from the compressed data file
  std::int64_t parsedLines = 0;     // lines or appended pieces parsed
};

// Loads a record file into LoadedRecords, keeping the compressed data file
// (".hok") beside it so that later loads parse only the lines appended since.
// The settings file's section "FileSize" remembers, per record path, how large
// the record file was when the data file was last completed; 0 or a missing
// key means that no data file is trusted and the next load is a full load.
//
// The record file is only ever opened for reading. The stored size is set to 0
// before the data file is truncated or appended to, and the record file's size
// is written only once the data file is complete, so a crash at any moment
// leads to a full load next time.
class RecordLoader {
 public:
  RecordLoader(SettingsFile& settings, LoadFeedback& feedback);

  LoadOutcome load(const QString& recordPath, LoadedRecords& records);

  // Makes the next load of the record file a full load that rewrites its
  // data file. False when the settings file cannot be written (the message
  // has been shown).
  bool forgetStoredSize(const QString& recordPath);

  const LoadSummary& lastSummary() const { return summary_; }

  // The record path with its extension replaced by ".hok".
  static QString dataFilePathFor(const QString& recordPath);

 private:
  class Session;

  SettingsFile& settings_;
  LoadFeedback& feedback_;
  LoadSummary summary_;
};
