#include "records/RecordTextParser.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/RegularFile.h"
#include "records/DataFileEntry.h"
#include "records/LoadFeedback.h"
#include "records/LoaderMessages.h"
#include "records/ProgressCounter.h"
#include "records/RecordLineReader.h"
#include "records/RecordLoader.h"
#include "records/StoreFiller.h"
#include "records/Taprec.h"

RecordTextParser::RecordTextParser(RegularFile& recordFile, StoreFiller& store, LoadFeedback& feedback,
                                   LoadSummary& summary)
    : recordFile_(recordFile), store_(store), feedback_(feedback), summary_(summary) {}

std::optional<qint64> RecordTextParser::parseAll(qint64 size, qint64 secondThreadFrom, const QString& recordPath) {
  using namespace RecordLineLayout;
  ProgressCounter progress(feedback_, size / LineWithEnd, ProgressCounter::ReadStep);
  StoreArray<PracticeRecord>& store = store_.records().RecordStore;

  QFile device;
  if (!device.open(recordFile_.handle(), QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle) ||
      !device.seek(0))
    return std::nullopt;
  std::optional<RecordLineReader> reader;
  reader.emplace(device, RecordLineReader::DefaultKeptBytes, size > 0 ? size : RecordLineReader::NoLimit);
  qint64 readerStart = 0;  // where the reader began: 0, or where the second thread's lines end
  startSecondHalf(size, secondThreadFrom);
  const int messageLimit = feedback_.badLineMessageLimit();
  PracticeRecord scratch;  // shared by every line, as a line without a mode letter keeps the last mode
  std::string_view line;
  qint64 lineNumber = 0;
  for (;;) {
    std::string_view ahead = reader->ahead(LineWithEnd);
    if (secondHalf_) {
      const qint64 at = readerStart + reader->position();
      if (at == secondHalf_->from()) {
        // The first half ends where the second thread began: its runs follow.
        const std::optional<qint64> runs = takeSecondHalf(scratch, readerStart);
        if (runs) {
          lineNumber += *runs;
          progress.count(*runs);
          if (!device.seek(readerStart)) return std::nullopt;
          reader.emplace(device, RecordLineReader::DefaultKeptBytes, size - readerStart);
        }
        continue;
      }
      if (at > secondHalf_->from()) {
        secondHalf_.reset();  // a line of another length came first: the lines are read here
      } else {
        ahead = ahead.substr(
            0, static_cast<std::size_t>(std::min<qint64>(static_cast<qint64>(ahead.size()), secondHalf_->from() - at)));
      }
    }
    // The usual lines are parsed where they lie in the reader's buffer,
    // straight into the store.
    std::size_t taken = 0;
    while (const std::size_t room = roomInPlace()) {
      const std::size_t lines = ParseUsualRecordLines(ahead.substr(taken), store.spare(), room);
      if (lines == 0) break;
      store_.keepInPlace(lines);
      scratch = store.back();  // the mode a line without a mode letter keeps
      taken += lines * LineWithEnd;
      lineNumber += static_cast<qint64>(lines);
      progress.count(static_cast<qint64>(lines));
    }
    reader->skip(taken);
    if (taken > 0 && ahead.size() - taken < static_cast<std::size_t>(LineWithEnd)) continue;  // read on
    // Any other line, or the end.
    if (!reader->next(line)) break;
    ++lineNumber;
    progress.count();
    ParseRecordLine(line, scratch);
    if (scratch.Mode != ModeFailed) {
      keep(scratch);
    } else if (++summary_.badLines <= messageLimit || messageLimit < 0) {
      feedback_.showMessage(LoaderMessages::badLine(recordPath, lineNumber));
    }
  }
  secondHalf_.reset();  // the text ended before the second half: its runs are not wanted
  summary_.parsedLines = lineNumber;
  if (!reader->ok()) return std::nullopt;
  if (messageLimit >= 0 && summary_.badLines > messageLimit)
    feedback_.showMessage(LoaderMessages::moreBadLines(recordPath, summary_.badLines - messageLimit));
  // After a 0x1A the rest of the file is no text: the file counts as read.
  const qint64 bytesRead = readerStart + reader->bytesRead();
  return reader->endedAtEndOfText() ? std::max(size, bytesRead) : bytesRead;
}

bool RecordTextParser::parseTail(qint64 end, QByteArray& appended, qint64& readUpTo) {
  constexpr qint64 Piece = RecordLineLayout::LineWithEnd;
  constexpr qint64 PiecesPerRead = 1424;  // about 64 KiB a read, whole pieces
  std::vector<char> chunk(static_cast<std::size_t>(PiecesPerRead * Piece));
  PracticeRecord scratch;
  while (readUpTo < end) {
    const qint64 wanted = std::min<qint64>(static_cast<qint64>(chunk.size()), end - readUpTo);
    const qint64 got = recordFile_.readAt(readUpTo, chunk.data(), wanted);
    if (got <= 0) return got == 0;  // nothing more: the file became shorter meanwhile
    for (qint64 at = 0; at < got; at += Piece) {
      const char* piece = chunk.data() + at;
      const auto bytes = static_cast<std::size_t>(std::min(Piece, got - at));
      readUpTo += static_cast<qint64>(bytes);
      ++summary_.parsedLines;
      const auto* nul = static_cast<const char*>(std::memchr(piece, 0, bytes));
      const std::size_t length = nul ? static_cast<std::size_t>(nul - piece) : bytes;
      ParseRecordLine(std::string_view(piece, length), scratch);
      if (scratch.Mode == ModeFailed) return false;
      keep(scratch);
      const auto entry = DataFileEntry::encode(scratch);
      appended.append(reinterpret_cast<const char*>(entry.data()), DataFileEntry::Size);
    }
  }
  return true;
}

// A run parsed outside the store; one that reaches where the second thread
// writes its runs stops that thread first.
void RecordTextParser::keep(const PracticeRecord& run) {
  if (secondHalf_ && store_.records().RecordStore.size() >= secondHalfIndex_) stopSecondHalf();
  store_.keep(run);
}

// How many runs may be parsed into the store's spare room now: none beyond
// where the second thread writes its runs (a line parsed then is stored
// through keep(), which stops the thread first).
std::size_t RecordTextParser::roomInPlace() {
  if (secondHalf_) return std::min(secondHalfIndex_ - store_.records().RecordStore.size(), StoreFiller::RunsAtATime);
  return store_.makeRoom();
}

// A full load of a large file parses its second half on a second thread,
// into the store where its runs belong when every line before is 46 bytes.
void RecordTextParser::startSecondHalf(qint64 size, qint64 secondThreadFrom) {
  using RecordLineLayout::LineWithEnd;
  const qint64 half = size / LineWithEnd / 2 * LineWithEnd;
  if (secondThreadFrom <= 0 || size < secondThreadFrom || half == 0) return;
  LoadedRecords& records = store_.records();
  StoreArray<PracticeRecord>& store = records.RecordStore;
  const auto index = static_cast<std::size_t>(half / LineWithEnd);
  if (store.capacity() <= index) return;
  records.AllRecords.reserve(store.capacity());
  try {
    secondHalf_.emplace(recordFile_.handle(), half, size, store.data() + index, records.AllRecords.data() + index,
                        store.capacity() - index);
  } catch (const std::system_error&) {
    return;  // no second thread to be had: the load reads the whole file itself
  }
  secondHalfIndex_ = index;
}

void RecordTextParser::stopSecondHalf() {
  secondHalf_.reset();
  secondHalfIndex_ = SIZE_MAX;
}

// Puts the second thread's runs after the first half's and moves `readFrom`
// to where its lines end; how many runs, or nothing when they are of no use.
std::optional<qint64> RecordTextParser::takeSecondHalf(PracticeRecord& scratch, qint64& readFrom) {
  LoadedRecords& records = store_.records();
  StoreArray<PracticeRecord>& store = records.RecordStore;
  StoreArray<const PracticeRecord*>& references = records.AllRecords;
  const std::size_t first = store.size();  // fewer than `index` when lines were dropped
  // The first half's references, while the second thread may still be at work.
  references.clear();
  const PracticeRecord** out = references.spare();
  for (std::size_t i = 0; i < first; ++i) out[i] = &store[i];

  const AheadLineParser::Result taken = secondHalf_->finish();  // a copy: stopSecondHalf() ends the parser
  const std::size_t index = secondHalfIndex_;
  stopSecondHalf();
  if (taken.failed) return std::nullopt;
  if (first < index)
    std::memmove(static_cast<void*>(store.spare()), store.data() + index, taken.runs * sizeof(PracticeRecord));
  store.commit(taken.runs);
  if (first < index)
    for (std::size_t i = first; i < store.size(); ++i) out[i] = &store[i];
  references.commit(store.size());
  for (int m = 0; m < PracticeModeCount; ++m) records.ModeCounts[m] += taken.modeCounts[m];
  if (!taken.exact) store_.setInexact();
  if (taken.runs > 0) scratch = store.back();
  readFrom = taken.end;
  return static_cast<qint64>(taken.runs);
}
