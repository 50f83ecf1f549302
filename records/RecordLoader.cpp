#include "records/RecordLoader.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <cstring>

#include "records/DataFileEntry.h"
#include "records/LoaderMessages.h"
#include "records/RecordLineReader.h"
#include "records/Taprec.h"
#include "settings/Options.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int ReadProgressStep = 100;
constexpr int WriteProgressStep = 10;
constexpr qint64 EntriesPerChunk = 6553;  // 65,530 bytes of data file at a time

int progressMaximum(qint64 value) { return static_cast<int>(std::clamp<qint64>(value, 0, INT_MAX)); }

}  // namespace

// One load of one record file.
class RecordLoader::Session {
 public:
  Session(RecordLoader& owner, const QString& recordPath, QFile& recordFile, LoadedRecords& records)
      : settings_(owner.settings_),
        feedback_(owner.feedback_),
        summary_(owner.summary_),
        recordPath_(recordPath),
        dataPath_(dataFilePathFor(recordPath)),
        recordFile_(recordFile),
        records_(records) {}

  LoadOutcome run() {
    feedback_.showLoading(LoaderMessages::readingCaption());
    recSize_ = recordFile_.size();
    stored_ = std::max<qint64>(0, settings_.readInteger(SettingsKeys::FileSize, recordPath_, 0));
    storedNow_ = stored_;

    if (stored_ != 0 && QFileInfo(dataPath_).isFile()) {
      switch (incrementalLoad()) {
        case CacheResult::Loaded: return LoadOutcome::Loaded;
        case CacheResult::TailFailed: return LoadOutcome::TailFailed;
        case CacheResult::Damaged: feedback_.showMessage(LoaderMessages::damagedDataFile()); break;
      }
    }
    return fullLoad();
  }

 private:
  enum class CacheResult { Loaded, TailFailed, Damaged };

  // Cached runs are decoded first; then only the bytes appended to the record
  // file since the data file was completed are parsed, in 46-byte pieces.
  CacheResult incrementalLoad() {
    QFile data(dataPath_);
    if (!data.open(QIODevice::ReadOnly)) return CacheResult::Damaged;
    const qint64 dataSize = data.size();
    if (dataSize % DataFileEntry::Size != 0) return CacheResult::Damaged;
    const qint64 entries = dataSize / DataFileEntry::Size;

    startStore(entries + (recSize_ - stored_) / RecordLineLayout::LineWithEnd, LoadKind::Incremental);
    feedback_.startProgress(progressMaximum(entries), ReadProgressStep);
    if (!decodeEntries(data, entries)) return CacheResult::Damaged;
    data.close();

    if (recSize_ <= stored_) {
      // Nothing appended. A record file that has become shorter keeps its
      // cached runs; only the stored size follows the file.
      finishReferences();
      if (recSize_ != stored_) setStoredSize(recSize_);
      return CacheResult::Loaded;
    }

    const bool mayAppend = setStoredSize(0);
    QByteArray appended;
    const bool tailParsed = parseTail(appended);
    bool dataComplete = mayAppend && appendToDataFile(appended);
    finishReferences();
    if (!tailParsed) {
      feedback_.showMessage(LoaderMessages::badTail());
      feedback_.hideLoading();
      return CacheResult::TailFailed;
    }
    if (dataComplete && !inexact_) setStoredSize(recSize_);
    return CacheResult::Loaded;
  }

  LoadOutcome fullLoad() {
    startStore(recSize_ / RecordLineLayout::LineWithEnd, LoadKind::Full);
    feedback_.startProgress(progressMaximum(recSize_ / RecordLineLayout::LineWithEnd), ReadProgressStep);
    if (!recordFile_.seek(0)) return readFailure();

    RecordLineReader reader(recordFile_);
    PracticeRecord scratch;  // shared by every line, as a line without a mode letter keeps the last mode
    std::string_view line;
    qint64 lineNumber = 0;
    while (reader.next(line)) {
      ++lineNumber;
      if (lineNumber % ReadProgressStep == 0) feedback_.stepProgress();
      ParseRecordLine(line, scratch);
      if (scratch.Mode == ModeFailed)
        feedback_.showMessage(LoaderMessages::badLine(recordPath_, lineNumber));
      else
        keep(scratch);
    }
    summary_.parsedLines = lineNumber;
    if (!reader.ok()) return readFailure();
    finishReferences();

    feedback_.setCaption(LoaderMessages::writingCaption());
    feedback_.startProgress(progressMaximum(static_cast<qint64>(records_.RecordStore.size()) - 1),
                            WriteProgressStep);
    if (storedNow_ != 0 && !setStoredSize(0)) return LoadOutcome::Loaded;
    if (writeDataFile() && !inexact_) setStoredSize(recSize_);
    return LoadOutcome::Loaded;
  }

  void startStore(qint64 capacity, LoadKind kind) {
    records_.clear();
    records_.RecordCapacity = capacity;
    records_.RecordStore.reserve(static_cast<std::size_t>(std::max<qint64>(capacity, 0) + 1));
    inexact_ = false;
    summary_ = {};
    summary_.kind = kind;
  }

  void keep(const PracticeRecord& record) {
    records_.RecordStore.push_back(record);
    ++records_.ModeCounts[record.Mode];
    if (!DataFileEntry::holdsExactly(record)) inexact_ = true;
  }

  // The store may have grown past its estimate, so references are taken once
  // it is complete.
  void finishReferences() {
    records_.AllRecords.clear();
    records_.AllRecords.reserve(records_.RecordStore.size());
    for (const PracticeRecord& record : records_.RecordStore) records_.AllRecords.push_back(&record);
  }

  bool decodeEntries(QFile& data, qint64 entries) {
    std::vector<std::uint8_t> chunk(static_cast<std::size_t>(EntriesPerChunk * DataFileEntry::Size));
    DataFileEntry::Decoder decoder;
    PracticeRecord record;
    qint64 index = 0;
    while (index < entries) {
      const qint64 count = std::min(EntriesPerChunk, entries - index);
      const qint64 bytes = count * DataFileEntry::Size;
      if (data.read(reinterpret_cast<char*>(chunk.data()), bytes) != bytes) return false;
      for (qint64 k = 0; k < count; ++k) {
        ++index;
        if (index % ReadProgressStep == 0) feedback_.stepProgress();
        if (!decoder.decode(chunk.data() + k * DataFileEntry::Size, record)) return false;
        records_.RecordStore.push_back(record);
        ++records_.ModeCounts[record.Mode];
      }
    }
    summary_.decodedEntries = entries;
    return true;
  }

  // Parses the appended pieces into the store and their entries into
  // `appended`; false at the first piece that does not parse.
  bool parseTail(QByteArray& appended) {
    if (!recordFile_.seek(stored_)) return false;
    PracticeRecord scratch;
    char piece[RecordLineLayout::LineWithEnd];
    for (;;) {
      const qint64 got = recordFile_.read(piece, sizeof piece);
      if (got <= 0) return got == 0;
      ++summary_.parsedLines;
      const auto* nul = static_cast<const char*>(std::memchr(piece, 0, static_cast<std::size_t>(got)));
      const std::size_t length = nul ? static_cast<std::size_t>(nul - piece) : static_cast<std::size_t>(got);
      ParseRecordLine(std::string_view(piece, length), scratch);
      if (scratch.Mode == ModeFailed) return false;
      keep(scratch);
      const auto entry = DataFileEntry::encode(scratch);
      appended.append(reinterpret_cast<const char*>(entry.data()), DataFileEntry::Size);
    }
  }

  bool appendToDataFile(const QByteArray& appended) {
    QFile data(dataPath_);
    if (!data.open(QIODevice::WriteOnly | QIODevice::Append) || data.write(appended) != appended.size() ||
        !data.flush()) {
      feedback_.showMessage(LoaderMessages::cannotWrite(dataPath_));
      return false;
    }
    return true;
  }

  bool writeDataFile() {
    QFile data(dataPath_);
    if (!data.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      feedback_.showMessage(LoaderMessages::cannotWrite(dataPath_));
      return false;
    }
    const auto& store = records_.RecordStore;
    std::vector<std::uint8_t> chunk(static_cast<std::size_t>(EntriesPerChunk * DataFileEntry::Size));
    std::size_t filled = 0;
    for (std::size_t i = 0; i < store.size(); ++i) {
      if (i % WriteProgressStep == 0) feedback_.stepProgress();
      DataFileEntry::encode(store[i], chunk.data() + filled);
      filled += DataFileEntry::Size;
      if (filled == chunk.size() || i + 1 == store.size()) {
        if (data.write(reinterpret_cast<const char*>(chunk.data()), static_cast<qint64>(filled)) !=
            static_cast<qint64>(filled)) {
          feedback_.showMessage(LoaderMessages::cannotWrite(dataPath_));
          return false;
        }
        filled = 0;
      }
    }
    if (!data.flush()) {
      feedback_.showMessage(LoaderMessages::cannotWrite(dataPath_));
      return false;
    }
    return true;
  }

  bool setStoredSize(qint64 size) {
    if (!settings_.writeText(SettingsKeys::FileSize, recordPath_, QString::number(size))) {
      feedback_.showMessage(settings_.writeFailureMessage());
      return false;
    }
    storedNow_ = size;
    return true;
  }

  LoadOutcome readFailure() {
    finishReferences();
    feedback_.showMessage(LoaderMessages::cannotRead(recordPath_, recordFile_.errorString()));
    feedback_.hideLoading();
    return LoadOutcome::Unreadable;
  }

  SettingsFile& settings_;
  LoadFeedback& feedback_;
  LoadSummary& summary_;
  const QString recordPath_;
  const QString dataPath_;
  QFile& recordFile_;
  LoadedRecords& records_;
  qint64 recSize_ = 0;
  qint64 stored_ = 0;
  qint64 storedNow_ = 0;
  bool inexact_ = false;
};

RecordLoader::RecordLoader(SettingsFile& settings, LoadFeedback& feedback)
    : settings_(settings), feedback_(feedback) {}

QString RecordLoader::dataFilePathFor(const QString& recordPath) {
  const QFileInfo info(recordPath);
  const QString suffix = info.suffix();
  if (suffix.isEmpty()) return recordPath + u".hok"_s;
  return recordPath.left(recordPath.size() - suffix.size()) + u"hok"_s;
}

LoadOutcome RecordLoader::load(const QString& recordPath, LoadedRecords& records) {
  summary_ = {};
  if (recordPath.isEmpty() || !QFileInfo(recordPath).isFile()) {
    feedback_.showMessage(LoaderMessages::chooseRecordFile());
    return LoadOutcome::NoRecordFile;
  }
  QFile recordFile(recordPath);
  if (!recordFile.open(QIODevice::ReadOnly)) {
    feedback_.showMessage(LoaderMessages::cannotRead(recordPath, recordFile.errorString()));
    return LoadOutcome::Unreadable;
  }
  return Session(*this, recordPath, recordFile, records).run();
}

bool RecordLoader::forgetStoredSize(const QString& recordPath) {
  if (settings_.writeText(SettingsKeys::FileSize, recordPath, u"0"_s)) return true;
  feedback_.showMessage(settings_.writeFailureMessage());
  return false;
}
