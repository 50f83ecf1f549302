// Feeds arbitrary bytes to the loader as a compressed data file, a record file
// and a stored size. Whatever the bytes, the load must end with valid runs, and
// once it has stored the record file's size, the next load (from the data file)
// must give back exactly the same runs. Only when the appended 46-byte pieces
// were read otherwise than a full load reads the lines may that load find the
// data file not describing the record file and rebuild it; the load after it
// then gives back the rebuilt runs from the data file.
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/DayCount.h"
#include "records/RecordLoader.h"
#include "settings/SettingsFile.h"

using namespace Qt::StringLiterals;

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

void writeFile(const QString& path, const std::uint8_t* data, std::size_t size) {
  QFile f(path);
  check(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

void checkValid(const LoadedRecords& records) {
  std::uint64_t counted = 0;
  for (std::uint32_t c : records.ModeCounts) counted += c;
  check(counted == records.AllRecords.size());
  for (const PracticeRecord* r : records.AllRecords) {
    check(r->Mode <= ModeSymbols);
    check(DayCount::encodeDate(r->Year, r->Month, r->Day) == r->Date);
    check(DayCount::encodeTime(r->Hour, r->Min, r->Sec) == r->Time());
  }
}

std::vector<PracticeRecord> runsOf(const LoadedRecords& records) {
  std::vector<PracticeRecord> runs;
  for (const PracticeRecord* r : records.AllRecords) runs.push_back(*r);
  return runs;
}

}  // namespace

// Input: 2 bytes of stored size, 2 bytes giving the data file's length, then
// the data file's bytes and the record file's bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir dir;
  if (size < 4) return 0;
  const int storedSize = data[0] | data[1] << 8;
  const std::size_t dataLength = std::min<std::size_t>(data[2] | data[3] << 8, size - 4);
  const QString recordPath = dir.filePath(u"fuzz.ｷﾛｸ"_s);
  writeFile(RecordLoader::dataFilePathFor(recordPath), data + 4, dataLength);
  writeFile(recordPath, data + 4 + dataLength, size - 4 - dataLength);
  SettingsFile settings(dir.filePath(u"hoko32.ini"_s));
  settings.writeInteger(u"FileSize"_s, recordPath, storedSize);

  SilentFeedback quiet;
  RecordLoader loader(settings, quiet);
  LoadedRecords first;
  const LoadOutcome outcome = loader.load(recordPath, first);
  const LoadSummary firstLoad = loader.lastSummary();
  check(outcome == LoadOutcome::Loaded || outcome == LoadOutcome::TailFailed);
  checkValid(first);

  const qint64 recordSize = QFile(recordPath).size();
  if (outcome == LoadOutcome::Loaded && settings.readInteger(u"FileSize"_s, recordPath, 0) == recordSize &&
      recordSize != 0) {
    LoadedRecords second;
    check(loader.load(recordPath, second) == LoadOutcome::Loaded);
    if (loader.lastSummary().kind == LoadKind::Incremental) {
      check(runsOf(second) == runsOf(first));
    } else {
      check(firstLoad.kind == LoadKind::Incremental && firstLoad.parsedLines > 0);
      const bool rebuilt = loader.lastSummary().cacheKept;
      LoadedRecords third;
      check(loader.load(recordPath, third) == LoadOutcome::Loaded);
      check(runsOf(third) == runsOf(second));
      if (rebuilt) check(loader.lastSummary().kind == LoadKind::Incremental);
    }
  }
  return 0;
}
