#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "records/AheadLineParser.h"

class LoadFeedback;
class RegularFile;
class StoreFiller;
struct LoadSummary;

// The record text parsed into runs, straight into the store, for one load:
// the whole text of a full load, or the tail appended since the data file was
// completed. Counts the lines parsed (and the bad ones) in `summary`.
class RecordTextParser {
 public:
  RecordTextParser(RegularFile& recordFile, StoreFiller& store, LoadFeedback& feedback, LoadSummary& summary);

  // Reads the whole text once, up to `size` bytes (a file of a pseudo file
  // system gives its size as 0 and is read to its end), moving the loading
  // window's bar. The usual lines are parsed where they lie in the reader's
  // buffer, RunsAtATime at a time; from `secondThreadFrom` bytes on (0:
  // never), the second half on a second thread (AheadLineParser). Lines that
  // do not parse are told (LoadFeedback::badLineMessageLimit) and skipped.
  // Where the text was read up to (after a 0x1A, at least `size`: the rest is
  // no text), or nothing when the file could not be read.
  std::optional<qint64> parseAll(qint64 size, qint64 secondThreadFrom, const QString& recordPath);

  // Parses the pieces appended between `readUpTo` and `end` (46 bytes each,
  // as TAPPER writes its lines) into the store, and their entries into
  // `appended`; `readUpTo` ends after the last piece read. False at the first
  // piece that does not parse.
  bool parseTail(qint64 end, QByteArray& appended, qint64& readUpTo);

 private:
  void keep(const PracticeRecord& run);
  std::size_t roomInPlace();
  void startSecondHalf(qint64 size, qint64 secondThreadFrom);
  void stopSecondHalf();
  std::optional<qint64> takeSecondHalf(PracticeRecord& scratch, qint64& readFrom);

  RegularFile& recordFile_;
  StoreFiller& store_;
  LoadFeedback& feedback_;
  LoadSummary& summary_;
  // The second thread of a full load, and the index its runs start at.
  std::optional<AheadLineParser> secondHalf_;
  std::size_t secondHalfIndex_ = SIZE_MAX;
};
