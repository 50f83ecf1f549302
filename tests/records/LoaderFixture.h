#pragma once

#include <gtest/gtest.h>

#include <QFile>

#include <string>
#include <vector>

#include "records/DataFileEntry.h"
#include "records/RecordLoader.h"
#include "records/Taprec.h"
#include "settings/SettingsFile.h"
#include "settings/StoredSizes.h"
#include "support/RecordLines.h"
#include "support/RecordingFeedback.h"
#include "support/TempDir.h"

using namespace Qt::StringLiterals;

// A record file "test.ｷﾛｸ" and a settings file in a temporary folder, and
// loads of the one through the other.

inline QByteArray bytesOf(const std::string& text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// n good lines of TAPPER's layout, hits 100 + i.
inline std::string goodLines(int count, int firstHits = 100) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += recordLine(static_cast<PracticeMode>(i % 4), 2020 + i / 400, 1 + i / 31 % 12, 1 + i % 28, i % 24, i % 60,
                       (i * 7) % 60, firstHits + i % 800, i % 40);
  return text;
}

// Damage done to a data file's bytes, by entry and part (as leveldb's log tests
// name theirs), instead of bare offsets.
inline QByteArray withEntryByte(QByteArray data, qsizetype entry, DataFileEntry::Offset part, char value) {
  data[entry * DataFileEntry::Size + part] = value;
  return data;
}
inline QByteArray shrunkBy(const QByteArray& data, qsizetype bytes) { return data.left(data.size() - bytes); }

class LoaderFixture : public testing::Test {
 protected:
  LoaderFixture() : settings(dir.file(u"hoko32.ini"_s)), recordPath(dir.file(u"test.ｷﾛｸ"_s)) {}

  LoadOutcome load() {
    feedback = RecordingFeedback();
    RecordLoader loader(settings, feedback);
    loader.setSecondThreadFrom(secondThreadFrom);
    const LoadOutcome outcome = loader.load(recordPath, records);
    summary = loader.lastSummary();
    return outcome;
  }
  void writeRecordFile(const std::string& text) { dir.write(u"test.ｷﾛｸ"_s, bytesOf(text)); }
  void appendRecordFile(const std::string& text) {
    QFile f(recordPath);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(bytesOf(text));
  }
  QByteArray dataFile() const { return dir.read(u"test.hok"_s); }
  qint64 storedSize() const { return settings.readInteger(u"FileSize"_s, StoredSizes::keyFor(recordPath), 0); }

  // What a full parse of the record file keeps, for comparison with loads that use the cache.
  std::vector<PracticeRecord> parsedRecordFile() const {
    std::vector<PracticeRecord> kept;
    const std::string text = dir.read(u"test.ｷﾛｸ"_s).toStdString();
    PracticeRecord scratch;
    for (std::size_t at = 0; at + 2 <= text.size(); at += 46) {
      ParseRecordLine(std::string_view(text).substr(at, 44), scratch);
      if (scratch.Mode != ModeFailed) kept.push_back(scratch);
    }
    return kept;
  }
  std::vector<PracticeRecord> loaded() const {
    std::vector<PracticeRecord> out;
    for (const PracticeRecord* r : records.AllRecords) out.push_back(*r);
    return out;
  }

  TempDir dir;
  SettingsFile settings;
  QString recordPath;
  RecordingFeedback feedback;
  LoadedRecords records;
  LoadSummary summary;
  std::int64_t secondThreadFrom = RecordLoader::DefaultSecondThreadFrom;
};
