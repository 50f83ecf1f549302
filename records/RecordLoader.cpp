#include "records/RecordLoader.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <new>
#include <optional>
#include <stdexcept>
#include <type_traits>

#include "platform/RegularFile.h"
#include "records/DataFileCheck.h"
#include "records/DataFileEntry.h"
#include "records/LoaderMessages.h"
#include "records/RecordTextParser.h"
#include "records/StoreFiller.h"
#include "records/Taprec.h"

using namespace Qt::StringLiterals;

// One load of one record file: which of the files is trusted, in which order
// they are read and written, and what the stored size says meanwhile.
class RecordLoader::Session {
 public:
  Session(RecordLoader& owner, const QString& recordPath, const QString& canonicalPath, RegularFile& recordFile,
          LoadedRecords& records)
      : owner_(owner),
        sizes_(owner.sizes_),
        feedback_(owner.feedback_),
        summary_(owner.summary_),
        recordPath_(recordPath),
        recordName_{canonicalPath, recordPath},
        recordFile_(recordFile),
        data_(dataFilePathFor(canonicalPath), owner.feedback_, owner.secondThreadFrom_),
        store_(records),
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
    if (records_.CachedFile != recordName_.canonicalPath || data_.leadsTo(recordFile_.identity()) ||
        !openAndLockDataFile(RegularFile::Access::ReadWrite) || !data_.writable())
      return AppendResult::Unsuitable;
    // Everything is measured under the lock, after any wait for it: another
    // program may have appended meanwhile, and then the load that follows
    // decodes what it wrote.
    recSize_ = std::max<qint64>(0, recordFile_.size());
    const StoredSizeStore::Stored stored = sizes_.readStoredSize(recordName_);
    const auto entries = static_cast<qint64>(records_.RecordStore.size());
    if (stored.rewrite || stored.size != records_.CachedUpTo || data_.size() != entries * DataFileEntry::Size ||
        recSize_ < stored.size || !DataFileCheck::describesRecordFile(recordFile_, data_.file(), stored.size, entries))
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
    QByteArray appended;
    qint64 readUpTo = stored_;
    if (!parser().parseTail(recSize_, appended, readUpTo) || store_.inexact() || readUpTo == stored_) {
      // A load of the whole file says what is wrong, as it always does.
      records_.RecordStore.truncate(static_cast<std::size_t>(entries));
      records_.ModeCounts = counts;
      if (records_.RecordStore.data() != base) store_.finishReferences();
      return AppendResult::Unsuitable;
    }
    if (records_.RecordStore.data() != base) {
      store_.finishReferences();
    } else {
      for (std::size_t i = static_cast<std::size_t>(entries); i < records_.RecordStore.size(); ++i)
        records_.AllRecords.push_back(&records_.RecordStore[i]);
    }
    if (setStoredSize(0) && data_.append(appended) && data_.sync()) summary_.cacheKept = setStoredSize(readUpTo);
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
    // Same path, a link to it or a second name of the same file: writing the
    // data file would destroy the record file.
    if (data_.leadsTo(recordFile_.identity())) {
      if (owner_.toldDataFileIsRecordFile_.insert(recordName_.canonicalPath).second)
        feedback_.showMessage(LoaderMessages::dataFileIsRecordFile(recordPath_, data_.path()));
      return fullLoad();
    }
    if (!openAndLockDataFile(RegularFile::Access::ReadWriteCreate)) return fullLoad();

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

  // False when the load must do without a cache.
  bool openAndLockDataFile(RegularFile::Access access) {
    return data_.openAndLock(access, recordFile_.identity(), owner_.lockWait_);
  }

  RecordTextParser parser() { return RecordTextParser(recordFile_, store_, feedback_, summary_); }

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
                : !DataFileCheck::describesRecordFile(recordFile_, data_.file(), stored_, entries))
      return CacheResult::Damaged;
    const qint64 tail = (recSize_ - stored_) / RecordLineLayout::LineWithEnd;
    startStore(entries + tail, LoadKind::Incremental, entries + std::max<qint64>(tail, 0));
    if (!data_.decode(entries, store_)) return CacheResult::Damaged;
    summary_.decodedEntries = entries;

    if (recSize_ <= stored_) {
      store_.finishReferences();
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
    const bool tailParsed = parser().parseTail(recSize_, appended, readUpTo);
    store_.finishReferences();
    if (!tailParsed) {
      // The entries of the pieces before the failure are kept; the stored
      // size 0 makes the next load rebuild the whole data file anyway.
      if (setStoredSize(0) && data_.writable()) data_.append(appended);
      feedback_.showMessage(LoaderMessages::badTail());
      feedback_.hideLoading();
      return CacheResult::TailFailed;
    }
    if (readUpTo == stored_) return CacheResult::Loaded;  // the file shrank meanwhile
    if (!data_.writable()) {
      feedback_.showMessage(LoaderMessages::cannotWrite(data_.path(), data_.writeProblem()));
      return CacheResult::Loaded;
    }
    if (!setStoredSize(0)) return CacheResult::Loaded;
    if (data_.append(appended) && data_.sync() && !store_.inexact()) summary_.cacheKept = setStoredSize(readUpTo);
    return CacheResult::Loaded;
  }

  LoadOutcome fullLoad() {
    using RecordLineLayout::LineWithEnd;
    if (!data_.locked()) recSize_ = std::max<qint64>(0, recordFile_.size());
    startStore(recSize_ / LineWithEnd, LoadKind::Full, recSize_ / LineWithEnd);
    const std::optional<qint64> readUpTo = parser().parseAll(recSize_, owner_.secondThreadFrom_, recordPath_);
    if (!readUpTo) return readFailure();
    store_.finishReferences();
    if (!data_.locked()) {
      // No data file is kept: it leads to the record file, another load holds
      // it, or it cannot be opened (which the user is told).
      if (!data_.writeProblem().isEmpty())
        feedback_.showMessage(LoaderMessages::cannotWrite(data_.path(), data_.writeProblem()));
      return LoadOutcome::Loaded;
    }

    feedback_.setCaption(LoaderMessages::writingCaption());
    ProgressCounter writeProgress(feedback_, static_cast<qint64>(records_.RecordStore.size()) - 1,
                                  ProgressCounter::WriteStep);
    if (!data_.writable()) {
      feedback_.showMessage(LoaderMessages::cannotWrite(data_.path(), data_.writeProblem()));
      return LoadOutcome::Loaded;
    }
    if (storedNow_ != 0 && !setStoredSize(0)) return LoadOutcome::Loaded;
    if (data_.write(records_.RecordStore, writeProgress) && !store_.inexact())
      summary_.cacheKept = setStoredSize(readUpTo.value());
    return LoadOutcome::Loaded;
  }

  // The store is reserved for what can be true of the files (`reserved` runs).
  void startStore(qint64 capacity, LoadKind kind, qint64 reserved) {
    store_.start(capacity, reserved);
    summary_ = {};
    summary_.kind = kind;
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
    store_.finishReferences();
    feedback_.showMessage(LoaderMessages::cannotRead(recordPath_, describeProblem(FileProblem::Other, EIO)));
    feedback_.hideLoading();
    return LoadOutcome::Unreadable;
  }

  RecordLoader& owner_;
  StoredSizeStore& sizes_;
  LoadFeedback& feedback_;
  LoadSummary& summary_;
  const QString recordPath_;
  const StoredSizeStore::RecordFile recordName_;
  RegularFile& recordFile_;
  DataFile data_;
  StoreFiller store_;
  LoadedRecords& records_;
  qint64 recSize_ = 0;
  qint64 stored_ = 0;
  qint64 storedNow_ = 0;
};

namespace {

// The canonical path of an existing file: absolute, links resolved.
QString canonicalPathOf(const QString& path) {
  const QString canonical = QFileInfo(path).canonicalFilePath();
  return canonical.isEmpty() ? QFileInfo(path).absoluteFilePath() : canonical;
}

// What `work` returns, or nothing when it ran out of memory.
template <class Work>
std::optional<std::invoke_result_t<Work>> withinMemory(Work work) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  return std::nullopt;
}

}  // namespace

RecordLoader::RecordLoader(StoredSizeStore& sizes, LoadFeedback& feedback) : sizes_(sizes), feedback_(feedback) {}

QString RecordLoader::dataFilePathFor(const QString& recordPath) {
  const QFileInfo info(recordPath);
  const QString suffix = info.suffix();
  if (suffix.isEmpty()) return recordPath + u".hok"_s;
  return recordPath.left(recordPath.size() - suffix.size()) + u"hok"_s;
}

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
  const std::optional<LoadOutcome> outcome =
      withinMemory([&] { return Session(*this, recordPath, canonicalPathOf(recordPath), recordFile, records).run(); });
  return outcome ? *outcome : outOfMemory(recordPath, records);
}

// Nothing is written before every run has been read, so nothing was.
LoadOutcome RecordLoader::outOfMemory(const QString& recordPath, LoadedRecords& records) {
  records.clear();
  feedback_.showMessage(LoaderMessages::outOfMemory(recordPath));
  feedback_.hideLoading();
  return LoadOutcome::OutOfMemory;
}

LoadOutcome RecordLoader::loadAppended(const QString& recordPath, LoadedRecords& records, TailEnd tailEnd) {
  if (records.CachedFile.isEmpty() || recordPath.isEmpty()) return load(recordPath, records);
  {
    RegularFile recordFile;
    if (!recordFile.open(recordPath, RegularFile::Access::Read)) return load(recordPath, records);
    const std::optional<bool> appended = withinMemory([&] {
      Session session(*this, recordPath, canonicalPathOf(recordPath), recordFile, records);
      return session.appendInPlace(tailEnd) == Session::AppendResult::Appended;
    });
    if (!appended) return outOfMemory(recordPath, records);
    if (*appended) return LoadOutcome::Loaded;
  }  // the data file's lock is let go before the load takes it
  return load(recordPath, records);
}

bool RecordLoader::forgetStoredSize(const QString& recordPath) {
  if (inspectPath(recordPath) != FileProblem::None) return true;  // no record file: nothing is stored for it
  const QString canonical = canonicalPathOf(recordPath);
  // Under the lock, so that a load going on meanwhile cannot write its size over the 0.
  DataFile data(dataFilePathFor(canonical), feedback_, secondThreadFrom_);
  data.lockIfThere(lockWait_);
  if (sizes_.writeStoredSize({canonical, recordPath}, 0)) return true;
  feedback_.showMessage(sizes_.storedSizeFailure());
  return false;
}
