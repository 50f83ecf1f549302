#include "records/RecordLoader.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/RegularFile.h"
#include "records/AheadLineParser.h"
#include "records/DataFileCheck.h"
#include "records/DataFileEntry.h"
#include "records/LoaderMessages.h"
#include "records/RecordLineReader.h"
#include "records/Taprec.h"

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

constexpr int ReadProgressStep = 100;
constexpr int WriteProgressStep = 10;
constexpr qint64 EntriesPerChunk = 26214;      // 262,140 bytes of data file read at a time
constexpr qint64 EntriesPerWrite = 4 * 26214;  // 1,048,560 bytes written at a time
constexpr std::size_t RunsAtATime = 256;       // parsed into the store at a time

// Room for the runs of a day or two of practice beyond what a load found, so
// that runs appended while the viewer is open are added without moving the
// store.
constexpr qint64 AppendHeadroom = 1024;

// A load waits this long for the lock before it says that it is waiting.
constexpr std::chrono::milliseconds QuietLockWait = 200ms;

// Counts the items of a load and moves the loading window's bar as they pass.
class ProgressCounter {
 public:
  ProgressCounter(LoadFeedback& feedback, qint64 items, int itemsPerStep) : feedback_(feedback) {
    const ProgressScale scale = progressScaleFor(items, itemsPerStep);
    itemsPerStep_ = scale.itemsPerStep;
    untilStep_ = itemsPerStep_;
    feedback.startProgress(scale.maximum, scale.step);
  }
  // More items; a step after every itemsPerStep of them.
  void count(qint64 items = 1) {
    for (untilStep_ -= items; untilStep_ <= 0; untilStep_ += itemsPerStep_) feedback_.stepProgress();
  }
  // More items; a step for the first item of every itemsPerStep, the first
  // item included.
  void countAhead(qint64 items) {
    while (items > 0) {
      if (untilStep_ == itemsPerStep_) feedback_.stepProgress();
      const qint64 taken = std::min(items, untilStep_);
      untilStep_ -= taken;
      items -= taken;
      if (untilStep_ == 0) untilStep_ = itemsPerStep_;
    }
  }

 private:
  LoadFeedback& feedback_;
  qint64 itemsPerStep_ = 1;
  qint64 untilStep_ = 1;
};

QString folderOf(const QString& path) { return QFileInfo(path).absolutePath(); }

// A second thread for half of a load's work, or none when the system cannot
// start one (a small address space, a limit on threads): the caller then does
// that half itself.
template <class Work>
std::thread secondThread(Work&& work) {
  try {
    return std::thread(std::forward<Work>(work));
  } catch (const std::system_error&) {
    return {};
  }
}

// Waits for a thread however its scope is left.
struct JoinAtExit {
  std::thread& thread;
  ~JoinAtExit() {
    if (thread.joinable()) thread.join();
  }
};

}  // namespace

// One load of one record file.
class RecordLoader::Session {
 public:
  Session(RecordLoader& owner, const QString& recordPath, const QString& canonicalPath, RegularFile& recordFile,
          LoadedRecords& records)
      : owner_(owner),
        sizes_(owner.sizes_),
        feedback_(owner.feedback_),
        summary_(owner.summary_),
        recordPath_(recordPath),
        dataPath_(dataFilePathFor(canonicalPath)),
        recordName_{canonicalPath, recordPath},
        recordFile_(recordFile),
        records_(records) {}

  LoadOutcome run() {
    const LoadOutcome outcome = load();
    rememberCache();
    return outcome;
  }

  enum class AppendResult { Appended, Unsuitable };

  // Adds the appended runs in place when the runs in memory, the data file and
  // the stored size still describe the same bytes of this record file; the
  // caller loads the file instead when not.
  AppendResult appendInPlace(TailEnd tailEnd) {
    // A data file that is gone is not made here: the load that follows does that.
    if (records_.CachedFile != recordName_.canonicalPath || dataFileIsRecordFile() ||
        !openAndLockDataFile(RegularFile::Access::ReadWrite) || !writable_)
      return AppendResult::Unsuitable;
    // Everything is measured under the lock, after any wait for it: another
    // program may have appended meanwhile, and then the load that follows
    // decodes what it wrote.
    recSize_ = std::max<qint64>(0, recordFile_.size());
    const StoredSizeStore::Stored stored = sizes_.readStoredSize(recordName_);
    const auto entries = static_cast<qint64>(records_.RecordStore.size());
    if (stored.rewrite || stored.size != records_.CachedUpTo || data_.size() != entries * DataFileEntry::Size ||
        recSize_ < stored.size || !DataFileCheck::describesRecordFile(recordFile_, data_, stored.size, entries))
      return AppendResult::Unsuitable;
    stored_ = stored.size;
    storedNow_ = stored_;
    if (tailEnd == TailEnd::WholeLines)
      recSize_ = stored_ + (recSize_ - stored_) / RecordLineLayout::LineWithEnd * RecordLineLayout::LineWithEnd;
    summary_ = {};
    summary_.kind = LoadKind::Appended;
    if (recSize_ == stored_) {
      summary_.cacheKept = true;
      return AppendResult::Appended;
    }

    const auto counts = records_.ModeCounts;
    const PracticeRecord* const base = records_.RecordStore.data();
    inexact_ = false;
    QByteArray appended;
    qint64 readUpTo = stored_;
    if (!parseTail(appended, readUpTo) || inexact_ || readUpTo == stored_) {
      // A load of the whole file says what is wrong, as it always does.
      records_.RecordStore.truncate(static_cast<std::size_t>(entries));
      records_.ModeCounts = counts;
      if (records_.RecordStore.data() != base) finishReferences();
      return AppendResult::Unsuitable;
    }
    if (records_.RecordStore.data() != base) {
      finishReferences();
    } else {
      for (std::size_t i = static_cast<std::size_t>(entries); i < records_.RecordStore.size(); ++i)
        records_.AllRecords.push_back(&records_.RecordStore[i]);
    }
    if (setStoredSize(0) && appendToDataFile(appended) && syncDataFile()) summary_.cacheKept = setStoredSize(readUpTo);
    rememberCache();
    return AppendResult::Appended;
  }

 private:
  enum class CacheResult { Loaded, TailFailed, Damaged };

  void rememberCache() {
    if (summary_.cacheKept) {
      records_.CachedFile = recordName_.canonicalPath;
      records_.CachedUpTo = storedNow_;
    } else {
      records_.CachedFile.clear();
      records_.CachedUpTo = 0;
    }
  }

  LoadOutcome load() {
    feedback_.showLoading(LoaderMessages::readingCaption());
    if (dataFileIsRecordFile()) {
      if (owner_.toldDataFileIsRecordFile_.insert(recordName_.canonicalPath).second)
        feedback_.showMessage(LoaderMessages::dataFileIsRecordFile(recordPath_, dataPath_));
      return fullLoad();
    }
    if (!openAndLockDataFile()) return fullLoad();

    // Measured under the lock: a load that waited must not take the file for
    // shorter than the size the load before it stored.
    recSize_ = std::max<qint64>(0, recordFile_.size());
    const StoredSizeStore::Stored stored = sizes_.readStoredSize(recordName_);
    stored_ = stored.size;
    storedNow_ = stored_;
    if (stored.rewrite) setStoredSize(stored_);
    if (stored_ != 0 && !data_.created()) {
      switch (incrementalLoad()) {
        case CacheResult::Loaded: return LoadOutcome::Loaded;
        case CacheResult::TailFailed: return LoadOutcome::TailFailed;
        case CacheResult::Damaged: feedback_.showMessage(LoaderMessages::damagedDataFile()); break;
      }
    }
    return fullLoad();
  }

  // Same path, a link to it or a second name of the same file: writing the
  // data file would destroy the record file.
  bool dataFileIsRecordFile() const {
    FileIdentity data;
    return identityOf(dataPath_, data) && data == recordFile_.identity();
  }

  // Opens (or creates) the data file and takes the lock under which the data
  // file and the stored size are read and changed. False when the load must do
  // without a cache.
  bool openAndLockDataFile(RegularFile::Access access = RegularFile::Access::ReadWriteCreate) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      writable_ = data_.open(dataPath_, access);
      if (!writable_) {
        const FileProblem problem = data_.problem();
        const int error = data_.error();
        // A data file that may be read but not written still serves a load
        // that has nothing to append.
        writeProblem_ = describeProblem(problem, error);
        if (problem != FileProblem::NoPermission || !data_.open(dataPath_, RegularFile::Access::Read)) return false;
      }
      if (!lockDataFile()) return false;
      // The file may have been replaced while this load waited: lock the one
      // that is there now.
      FileIdentity current;
      if (identityOf(dataPath_, current) && current == data_.identity()) {
        if (current == recordFile_.identity()) return false;  // made a link to the record file meanwhile
        cacheUsable_ = true;
        return true;
      }
      data_.close();
    }
    return false;
  }

  bool lockDataFile() { return owner_.lockDataFile(data_); }

  // Cached runs are decoded first; then only the bytes appended to the record
  // file since the data file was completed are parsed, in 46-byte pieces.
  CacheResult incrementalLoad() {
    const qint64 dataSize = data_.size();
    if (dataSize < 0 || dataSize % DataFileEntry::Size != 0) return CacheResult::Damaged;
    const qint64 entries = dataSize / DataFileEntry::Size;
    // The entries must still describe the record file up to the stored size,
    // or the tail would be appended to the wrong runs. A file that has become
    // shorter no longer reaches the stored size: only the count is checked.
    const bool shorter = recSize_ < stored_;
    if (shorter ? entries > DataFileCheck::mostRunsIn(stored_)
                : !DataFileCheck::describesRecordFile(recordFile_, data_, stored_, entries))
      return CacheResult::Damaged;
    const qint64 tail = (recSize_ - stored_) / RecordLineLayout::LineWithEnd;
    startStore(entries + tail, LoadKind::Incremental, entries + std::max<qint64>(tail, 0));
    if (!decodeEntries(entries)) return CacheResult::Damaged;

    if (recSize_ <= stored_) {
      finishReferences();
      if (shorter) {
        // The cached runs are shown as they are, this once. They describe
        // bytes the file no longer has, so the stored size 0 makes the next
        // load read the shorter file in full and rewrite the data file.
        setStoredSize(0);
        return CacheResult::Loaded;
      }
      summary_.cacheKept = true;  // nothing appended
      return CacheResult::Loaded;
    }

    QByteArray appended;
    qint64 readUpTo = stored_;
    const bool tailParsed = parseTail(appended, readUpTo);
    finishReferences();
    if (!tailParsed) {
      // The entries of the pieces before the failure are kept; the stored
      // size 0 makes the next load rebuild the whole data file anyway.
      if (setStoredSize(0) && writable_) appendToDataFile(appended);
      feedback_.showMessage(LoaderMessages::badTail());
      feedback_.hideLoading();
      return CacheResult::TailFailed;
    }
    if (readUpTo == stored_) return CacheResult::Loaded;  // the file shrank meanwhile
    if (!writable_) {
      feedback_.showMessage(LoaderMessages::cannotWrite(dataPath_, writeProblem_));
      return CacheResult::Loaded;
    }
    if (!setStoredSize(0)) return CacheResult::Loaded;
    if (appendToDataFile(appended) && syncDataFile() && !inexact_) summary_.cacheKept = setStoredSize(readUpTo);
    return CacheResult::Loaded;
  }

  LoadOutcome fullLoad() {
    using namespace RecordLineLayout;
    if (!cacheUsable_) recSize_ = std::max<qint64>(0, recordFile_.size());
    startStore(recSize_ / LineWithEnd, LoadKind::Full);
    ProgressCounter progress(feedback_, recSize_ / LineWithEnd, ReadProgressStep);

    QFile device;
    if (!device.open(recordFile_.handle(), QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle) ||
        !device.seek(0))
      return readFailure();
    // Files of pseudo file systems give their size as 0 and are read to their end.
    std::optional<RecordLineReader> reader;
    reader.emplace(device, RecordLineReader::DefaultKeptBytes, recSize_ > 0 ? recSize_ : RecordLineReader::NoLimit);
    qint64 readerStart = 0;  // where the reader began: 0, or where the second thread's lines end
    startSecondHalf();
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
            if (!device.seek(readerStart)) return readFailure();
            reader.emplace(device, RecordLineReader::DefaultKeptBytes, recSize_ - readerStart);
          }
          continue;
        }
        if (at > secondHalf_->from()) {
          secondHalf_.reset();  // a line of another length came first: the lines are read here
        } else {
          ahead = ahead.substr(0, static_cast<std::size_t>(
                                      std::min<qint64>(static_cast<qint64>(ahead.size()), secondHalf_->from() - at)));
        }
      }
      // The usual lines are parsed where they lie in the reader's buffer,
      // straight into the store.
      std::size_t taken = 0;
      while (const std::size_t room = roomInPlace()) {
        const std::size_t lines = ParseUsualRecordLines(ahead.substr(taken), records_.RecordStore.spare(), room);
        if (lines == 0) break;
        keepInPlace(lines);
        scratch = records_.RecordStore.back();  // the mode a line without a mode letter keeps
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
        feedback_.showMessage(LoaderMessages::badLine(recordPath_, lineNumber));
      }
    }
    secondHalf_.reset();  // the text ended before the second half: its runs are not wanted
    summary_.parsedLines = lineNumber;
    if (!reader->ok()) return readFailure();
    if (messageLimit >= 0 && summary_.badLines > messageLimit)
      feedback_.showMessage(LoaderMessages::moreBadLines(recordPath_, summary_.badLines - messageLimit));
    // After a 0x1A the rest of the file is no text: the file counts as read.
    const qint64 bytesRead = readerStart + reader->bytesRead();
    const qint64 readUpTo = reader->endedAtEndOfText() ? std::max(recSize_, bytesRead) : bytesRead;
    finishReferences();
    if (!cacheUsable_) {
      // No data file is kept: it leads to the record file, another load holds
      // it, or it cannot be opened (which the user is told).
      if (!writeProblem_.isEmpty()) feedback_.showMessage(LoaderMessages::cannotWrite(dataPath_, writeProblem_));
      return LoadOutcome::Loaded;
    }

    feedback_.setCaption(LoaderMessages::writingCaption());
    ProgressCounter writeProgress(feedback_, static_cast<qint64>(records_.RecordStore.size()) - 1, WriteProgressStep);
    if (!writable_) {
      feedback_.showMessage(LoaderMessages::cannotWrite(dataPath_, writeProblem_));
      return LoadOutcome::Loaded;
    }
    if (storedNow_ != 0 && !setStoredSize(0)) return LoadOutcome::Loaded;
    if (writeDataFile(writeProgress) && !inexact_) summary_.cacheKept = setStoredSize(readUpTo);
    return LoadOutcome::Loaded;
  }

  // The store is reserved for what can be true of the files, when that much
  // memory is there; otherwise it grows as runs are kept.
  void startStore(qint64 capacity, LoadKind kind) { startStore(capacity, kind, capacity); }
  void startStore(qint64 capacity, LoadKind kind, qint64 reserved) {
    records_.clear();
    records_.RecordCapacity = capacity;
    try {
      records_.RecordStore.reserve(static_cast<std::size_t>(std::max<qint64>(reserved, 0) + 1 + AppendHeadroom));
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    inexact_ = false;
    summary_ = {};
    summary_.kind = kind;
  }

  // A run of a valid mode, parsed outside the store.
  void keep(const PracticeRecord& run) {
    if (secondHalf_ && records_.RecordStore.size() >= secondHalfIndex_) stopSecondHalf();
    records_.RecordStore.push_back(run);
    countIn(run);
  }
  void countIn(const PracticeRecord& run) {
    ++records_.ModeCounts[run.Mode];
    if (!DataFileEntry::holdsExactly(run)) inexact_ = true;
  }

  // How many runs may be parsed into the store's spare room now: none beyond
  // where the second thread writes its runs (a line parsed then is stored
  // through keep(), which stops the thread first).
  std::size_t roomInPlace() {
    StoreArray<PracticeRecord>& store = records_.RecordStore;
    if (secondHalf_) return std::min(secondHalfIndex_ - store.size(), RunsAtATime);
    if (store.capacity() - store.size() < RunsAtATime)
      store.reserve(std::max(2 * store.capacity(), store.size() + RunsAtATime));
    return RunsAtATime;
  }
  // Counts in the runs just parsed into the store's spare room.
  void keepInPlace(std::size_t count) {
    StoreArray<PracticeRecord>& store = records_.RecordStore;
    const PracticeRecord* runs = store.spare();
    for (std::size_t i = 0; i < count; ++i) countIn(runs[i]);
    store.commit(count);
  }

  // A full load of a large file parses its second half on a second thread,
  // into the store where its runs belong when every line before is 46 bytes.
  void startSecondHalf() {
    using RecordLineLayout::LineWithEnd;
    const qint64 half = recSize_ / LineWithEnd / 2 * LineWithEnd;
    if (owner_.secondThreadFrom_ <= 0 || recSize_ < owner_.secondThreadFrom_ || half == 0) return;
    StoreArray<PracticeRecord>& store = records_.RecordStore;
    const auto index = static_cast<std::size_t>(half / LineWithEnd);
    if (store.capacity() <= index) return;
    records_.AllRecords.reserve(store.capacity());
    try {
      secondHalf_.emplace(recordFile_.handle(), half, recSize_, store.data() + index,
                          records_.AllRecords.data() + index, store.capacity() - index);
    } catch (const std::system_error&) {
      return;  // no second thread to be had: the load reads the whole file itself
    }
    secondHalfIndex_ = index;
  }
  void stopSecondHalf() {
    secondHalf_.reset();
    secondHalfIndex_ = SIZE_MAX;
  }
  // Puts the second thread's runs after the first half's and moves `readFrom`
  // to where its lines end; how many runs, or nothing when they are of no use.
  std::optional<qint64> takeSecondHalf(PracticeRecord& scratch, qint64& readFrom) {
    StoreArray<PracticeRecord>& store = records_.RecordStore;
    StoreArray<const PracticeRecord*>& references = records_.AllRecords;
    const std::size_t first = store.size();  // fewer than `index` when lines were dropped
    // The first half's references, while the second thread may still be at work.
    references.clear();
    const PracticeRecord** out = references.spare();
    for (std::size_t i = 0; i < first; ++i) out[i] = &store[i];

    const AheadLineParser::Result& taken = secondHalf_->finish();
    const std::size_t index = secondHalfIndex_;
    stopSecondHalf();
    if (taken.failed) return std::nullopt;
    if (first < index)
      std::memmove(static_cast<void*>(store.spare()), store.data() + index, taken.runs * sizeof(PracticeRecord));
    store.commit(taken.runs);
    if (first < index)
      for (std::size_t i = first; i < store.size(); ++i) out[i] = &store[i];
    references.commit(store.size());
    for (int m = 0; m < PracticeModeCount; ++m) records_.ModeCounts[m] += taken.modeCounts[m];
    if (!taken.exact) inexact_ = true;
    if (taken.runs > 0) scratch = store.back();
    readFrom = taken.end;
    return static_cast<qint64>(taken.runs);
  }

  // The store may have grown past its estimate, so references are taken once
  // it is complete; those taken before stay while the store has not moved.
  void finishReferences() {
    StoreArray<PracticeRecord>& store = records_.RecordStore;
    StoreArray<const PracticeRecord*>& references = records_.AllRecords;
    if (!references.empty() && (references.front() != store.data() || references.size() > store.size()))
      references.clear();
    references.reserve(store.size());
    const std::size_t from = references.size();
    const PracticeRecord** out = references.spare();
    for (std::size_t i = from; i < store.size(); ++i) out[i - from] = &store[i];
    references.commit(store.size() - from);
  }

  // Decodes the data file's entries into the store's spare room; false at a
  // damaged entry or a short read. Many entries are decoded in two halves,
  // the second on a second thread. When the store could not be reserved for
  // every entry, they are decoded a block at a time into a store that grows
  // only as far as they prove sound, and never beyond the entries there are.
  bool decodeEntries(qint64 entries) {
    ProgressCounter progress(feedback_, entries, ReadProgressStep);
    StoreArray<PracticeRecord>& store = records_.RecordStore;
    StoreArray<const PracticeRecord*>& references = records_.AllRecords;
    const int fd = data_.handle();
    DecodedRange first;
    DecodedRange second;
    if (static_cast<qint64>(store.capacity()) < entries) {
      for (qint64 index = 0; index < entries; index += EntriesPerChunk) {
        const qint64 to = std::min(entries, index + EntriesPerChunk);
        if (static_cast<qint64>(store.capacity()) < to)
          store.reserve(
              static_cast<std::size_t>(std::min(entries, std::max(2 * static_cast<qint64>(store.capacity()), to))));
        // The store may still move: finishReferences() takes the references.
        if (!decodeRange(fd, index, to, store.data(), nullptr, first, &progress)) return false;
        store.commit(static_cast<std::size_t>(to - index));
      }
    } else {
      references.clear();
      references.reserve(store.capacity());
      const qint64 half =
          owner_.secondThreadFrom_ > 0 && entries >= owner_.secondThreadFrom_ / RecordLineLayout::LineWithEnd
              ? entries / 2
              : entries;
      bool secondOk = true;
      const auto decodeSecondHalf = [&] {
        secondOk = decodeRange(fd, half, entries, store.data(), references.data(), second, nullptr);
      };
      std::thread thread;
      if (half < entries) thread = secondThread(decodeSecondHalf);
      const JoinAtExit join{thread};
      const bool firstOk = decodeRange(fd, 0, half, store.data(), references.data(), first, &progress);
      if (thread.joinable())
        thread.join();  // the second half
      else if (half < entries && firstOk)
        decodeSecondHalf();
      if (!firstOk || !secondOk) return false;
      progress.count(entries - half);
      store.commit(static_cast<std::size_t>(entries));
      references.commit(static_cast<std::size_t>(entries));
    }
    for (int m = 0; m < PracticeModeCount; ++m) records_.ModeCounts[m] += first.modeCounts[m] + second.modeCounts[m];
    summary_.decodedEntries = entries;
    return true;
  }

  struct DecodedRange {
    std::array<std::uint32_t, PracticeModeCount> modeCounts{};
  };

  // Entries [from, to) into runs[from, to) and, unless `references` is null,
  // a reference to each into references[from, to). Reads at offsets, so two
  // threads share the file.
  static bool decodeRange(int fd, qint64 from, qint64 to, PracticeRecord* runs, const PracticeRecord** references,
                          DecodedRange& range, ProgressCounter* progress) {
    std::vector<std::uint8_t> chunk;
    try {
      chunk.resize(static_cast<std::size_t>(EntriesPerChunk * DataFileEntry::Size));
    } catch (const std::bad_alloc&) {
      return false;
    }
    DataFileEntry::Decoder decoder;
    for (qint64 index = from; index < to;) {
      const qint64 count = std::min(EntriesPerChunk, to - index);
      if (readFullyAt(fd, index * DataFileEntry::Size, chunk.data(), count * DataFileEntry::Size) !=
          count * DataFileEntry::Size)
        return false;
      if (!decoder.decode(chunk.data(), static_cast<std::size_t>(count), runs + index)) return false;
      for (qint64 i = index; i < index + count; ++i) ++range.modeCounts[runs[i].Mode];
      if (references)
        for (qint64 i = index; i < index + count; ++i) references[i] = runs + i;
      if (progress) progress->count(count);
      index += count;
    }
    return true;
  }

  // Parses the pieces appended between the stored size and the size the file
  // had when the load began into the store and their entries into `appended`;
  // `readUpTo` ends after the last piece read. False at the first piece that
  // does not parse.
  bool parseTail(QByteArray& appended, qint64& readUpTo) {
    constexpr qint64 Piece = RecordLineLayout::LineWithEnd;
    constexpr qint64 PiecesPerRead = 1424;  // about 64 KiB a read, whole pieces
    std::vector<char> chunk(static_cast<std::size_t>(PiecesPerRead * Piece));
    PracticeRecord scratch;
    while (readUpTo < recSize_) {
      const qint64 wanted = std::min<qint64>(static_cast<qint64>(chunk.size()), recSize_ - readUpTo);
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

  bool appendToDataFile(const QByteArray& appended) {
    if (data_.seekToEnd() && data_.writeAll(appended.constData(), appended.size())) return true;
    return dataFileFailed();
  }

  // The entries are written over the old ones and the file is cut after
  // them, so that blocks the file had are not given up only to be taken again.
  // Many entries are encoded and written in two halves, the second on a
  // second thread.
  bool writeDataFile(ProgressCounter& progress) {
    const std::size_t entries = records_.RecordStore.size();
    std::size_t half = entries;
    if (owner_.secondThreadFrom_ > 0 &&
        static_cast<qint64>(entries) >= owner_.secondThreadFrom_ / RecordLineLayout::LineWithEnd)
      half = entries / 2;
    int secondError = 0;
    int firstError = 0;
    {
      const auto writeSecondHalf = [&] { secondError = writeEntries(half, entries, nullptr); };
      std::thread thread;
      if (half < entries) thread = secondThread(writeSecondHalf);
      const JoinAtExit join{thread};
      firstError = writeEntries(0, half, &progress);
      if (thread.joinable())
        thread.join();
      else if (half < entries && firstError == 0)
        writeSecondHalf();
    }
    progress.countAhead(static_cast<qint64>(entries - half));
    if (firstError != 0 || secondError != 0) {
      const int error = firstError != 0 ? firstError : secondError;
      feedback_.showMessage(LoaderMessages::cannotWrite(dataPath_, describeProblem(problemOfErrno(error), error)));
      return false;
    }
    if (!data_.resize(static_cast<qint64>(entries) * DataFileEntry::Size)) return dataFileFailed();
    return syncDataFile();
  }

  // Encodes and writes the entries of runs [first, last) where they belong,
  // starting each block's way to the disk at once: 0, or the errno of a
  // failed write. Safe beside a second call on another range.
  int writeEntries(std::size_t first, std::size_t last, ProgressCounter* progress) {
    const StoreArray<PracticeRecord>& store = records_.RecordStore;
    std::vector<std::uint8_t> chunk;
    try {
      chunk.resize(static_cast<std::size_t>(EntriesPerWrite * DataFileEntry::Size));
    } catch (const std::bad_alloc&) {
      return ENOMEM;
    }
    const int fd = data_.handle();
    for (std::size_t at = first; at < last; at += static_cast<std::size_t>(EntriesPerWrite)) {
      const std::size_t count = std::min(last - at, static_cast<std::size_t>(EntriesPerWrite));
      if (progress) progress->countAhead(static_cast<qint64>(count));
      std::uint8_t* out = chunk.data();
      for (std::size_t i = at; i < at + count; ++i, out += DataFileEntry::Size) DataFileEntry::encode(store[i], out);
      const qint64 offset = static_cast<qint64>(at) * DataFileEntry::Size;
      const qint64 bytes = static_cast<qint64>(count) * DataFileEntry::Size;
      if (const int error = writeFullyAt(fd, offset, chunk.data(), bytes)) return error;
      startWriteBackAt(fd, offset, bytes);
    }
    return 0;
  }

  // The entries reach the disk before the stored size that declares them
  // complete is written; a data file just created needs its folder synced too.
  bool syncDataFile() {
    if (!data_.sync()) return dataFileFailed();
    if (data_.created()) syncFolder(folderOf(dataPath_));
    return true;
  }

  bool dataFileFailed() {
    feedback_.showMessage(LoaderMessages::cannotWrite(dataPath_, describeProblem(data_.problem(), data_.error())));
    return false;
  }

  bool setStoredSize(qint64 size) {
    if (!sizes_.writeStoredSize(recordName_, size)) {
      feedback_.showMessage(sizes_.storedSizeFailure());
      return false;
    }
    storedNow_ = size;
    return true;
  }

  LoadOutcome readFailure() {
    finishReferences();
    feedback_.showMessage(LoaderMessages::cannotRead(recordPath_, describeProblem(FileProblem::Other, EIO)));
    feedback_.hideLoading();
    return LoadOutcome::Unreadable;
  }

  RecordLoader& owner_;
  StoredSizeStore& sizes_;
  LoadFeedback& feedback_;
  LoadSummary& summary_;
  const QString recordPath_;
  const QString dataPath_;
  const StoredSizeStore::RecordFile recordName_;
  RegularFile& recordFile_;
  RegularFile data_;
  LoadedRecords& records_;
  qint64 recSize_ = 0;
  qint64 stored_ = 0;
  qint64 storedNow_ = 0;
  bool cacheUsable_ = false;  // the data file is open and locked
  bool writable_ = false;     // ... and open for writing
  QString writeProblem_;      // why it is not
  bool inexact_ = false;
  // The second thread of a full load, and the index its runs start at.
  std::optional<AheadLineParser> secondHalf_;
  std::size_t secondHalfIndex_ = SIZE_MAX;
};

ProgressScale progressScaleFor(std::int64_t items, int itemsPerStep) {
  itemsPerStep = std::max(itemsPerStep, 1);
  if (items <= INT_MAX) return {static_cast<int>(std::max<std::int64_t>(items, 0)), itemsPerStep, itemsPerStep};
  const std::int64_t itemsPerPoint = items / INT_MAX + (items % INT_MAX != 0 ? 1 : 0);
  const std::int64_t points = (std::max<std::int64_t>(itemsPerStep, itemsPerPoint) + itemsPerPoint - 1) / itemsPerPoint;
  return {static_cast<int>(items / itemsPerPoint), static_cast<int>(points), points * itemsPerPoint};
}

RecordLoader::RecordLoader(StoredSizeStore& sizes, LoadFeedback& feedback) : sizes_(sizes), feedback_(feedback) {}

QString RecordLoader::dataFilePathFor(const QString& recordPath) {
  const QFileInfo info(recordPath);
  const QString suffix = info.suffix();
  if (suffix.isEmpty()) return recordPath + u".hok"_s;
  return recordPath.left(recordPath.size() - suffix.size()) + u"hok"_s;
}

namespace {

// The canonical path of an existing file: absolute, links resolved.
QString canonicalPathOf(const QString& path) {
  const QString canonical = QFileInfo(path).canonicalFilePath();
  return canonical.isEmpty() ? QFileInfo(path).absoluteFilePath() : canonical;
}

}  // namespace

LoadOutcome RecordLoader::load(const QString& recordPath, LoadedRecords& records) {
  summary_ = {};
  // A folder without a file name: no record file has been chosen yet.
  if (recordPath.isEmpty() || recordPath.endsWith(u'/')) {
    feedback_.showMessage(LoaderMessages::chooseRecordFile());
    return LoadOutcome::NoRecordFile;
  }
  RegularFile recordFile;
  if (!recordFile.open(recordPath, RegularFile::Access::Read)) {
    const FileProblem problem = recordFile.problem();
    if (problem == FileProblem::Missing) {
      feedback_.showMessage(LoaderMessages::chooseRecordFile());
      return LoadOutcome::NoRecordFile;
    }
    const QString reason = describeProblem(problem, recordFile.error());
    // A file that is there but may not be read is reported as such; anything
    // else at the path is no record file, and the user picks another.
    if (problem == FileProblem::NoPermission && inspectPath(recordPath) == FileProblem::None) {
      feedback_.showMessage(LoaderMessages::cannotRead(recordPath, reason));
      return LoadOutcome::Unreadable;
    }
    feedback_.showMessage(LoaderMessages::notARecordFile(recordPath, reason));
    return LoadOutcome::NoRecordFile;
  }
  try {
    return Session(*this, recordPath, canonicalPathOf(recordPath), recordFile, records).run();
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  return outOfMemory(recordPath, records);
}

// Nothing is written before every run has been read, so nothing was.
LoadOutcome RecordLoader::outOfMemory(const QString& recordPath, LoadedRecords& records) {
  records.clear();
  feedback_.showMessage(LoaderMessages::outOfMemory(recordPath));
  feedback_.hideLoading();
  return LoadOutcome::OutOfMemory;
}

bool RecordLoader::lockDataFile(RegularFile& dataFile) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  // One wait per load or reload: right after a wait that ran out, one try.
  const auto wait = std::exchange(lockWaitRanOut_, false) ? 0ms : lockWait_;
  auto pause = 2ms;
  bool told = false;
  for (;;) {
    const bool locked = dataFile.tryLockExclusive();
    if (locked || dataFile.error() != EWOULDBLOCK) {
      // Locked, or no lock can be had on the file at all (the load goes on without it).
      if (told) feedback_.setCaption(LoaderMessages::readingCaption());
      return locked;
    }
    const auto waited = Clock::now() - start;
    if (waited >= wait) break;
    if (!told && waited >= QuietLockWait) {
      feedback_.setCaption(LoaderMessages::waitingCaption());
      feedback_.startProgress(0, 1);
      told = true;
    }
    if (!feedback_.keepWaiting()) break;
    std::this_thread::sleep_for(std::min<Clock::duration>(pause, wait - waited));
    pause = std::min(pause * 2, 50ms);
  }
  lockWaitRanOut_ = wait > 0ms;
  if (told) feedback_.setCaption(LoaderMessages::readingCaption());
  return false;
}

LoadOutcome RecordLoader::loadAppended(const QString& recordPath, LoadedRecords& records, TailEnd tailEnd) {
  if (records.CachedFile.isEmpty() || recordPath.isEmpty()) return load(recordPath, records);
  {
    RegularFile recordFile;
    if (!recordFile.open(recordPath, RegularFile::Access::Read)) return load(recordPath, records);
    try {
      Session session(*this, recordPath, canonicalPathOf(recordPath), recordFile, records);
      if (session.appendInPlace(tailEnd) == Session::AppendResult::Appended) return LoadOutcome::Loaded;
    } catch (const std::bad_alloc&) {
      return outOfMemory(recordPath, records);
    } catch (const std::length_error&) {
      return outOfMemory(recordPath, records);
    }
  }  // the data file's lock is let go before the load takes it
  return load(recordPath, records);
}

bool RecordLoader::forgetStoredSize(const QString& recordPath) {
  if (inspectPath(recordPath) != FileProblem::None) return true;  // no record file: nothing is stored for it
  const QString canonical = canonicalPathOf(recordPath);
  // Under the lock, so that a load going on meanwhile cannot write its size over the 0.
  RegularFile data;
  if (data.open(dataFilePathFor(canonical), RegularFile::Access::Read)) lockDataFile(data);
  if (sizes_.writeStoredSize({canonical, recordPath}, 0)) return true;
  feedback_.showMessage(sizes_.storedSizeFailure());
  return false;
}
