#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <string>

#include "platform/NativePath.h"
#include "records/DataFileEntry.h"
#include "records/LoaderFixture.h"
#include "records/LoaderMessages.h"
#include "records/RecordLineReader.h"
#include "records/RecordLoader.h"
#include "records/Taprec.h"
#include "settings/SettingsFile.h"
#include "settings/StoredSizes.h"

using namespace Qt::StringLiterals;
using testing::ElementsAre;
using testing::IsEmpty;

using RecordLoaderTest = LoaderFixture;

namespace {

TEST_F(RecordLoaderTest, FullLoadWritesTheDataFileAndTheStoredSize) {
  writeRecordFile(goodLines(1000));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Full);
  EXPECT_EQ(records.RecordCapacity, 1000);
  EXPECT_EQ(records.AllRecords.size(), 1000u);
  EXPECT_EQ(records.ModeCounts, (std::array<std::uint32_t, 4>{250, 250, 250, 250}));
  EXPECT_EQ(dataFile().size(), 10000);
  EXPECT_EQ(storedSize(), 46000);
  EXPECT_EQ(loaded(), parsedRecordFile());
  EXPECT_THAT(feedback.messages, IsEmpty());
  ASSERT_EQ(feedback.stages.size(), 2u);
  EXPECT_EQ(feedback.stages[0].caption, u"ﾌｧｲﾙ読み込み中..."_s);
  EXPECT_EQ(feedback.stages[0].maximum, 1000);
  EXPECT_EQ(feedback.stages[0].steps, 10);
  EXPECT_EQ(feedback.stages[1].caption, u"ﾃﾞｰﾀﾌｧｲﾙ作成中..."_s);
  EXPECT_EQ(feedback.stages[1].maximum, 999);
  EXPECT_EQ(feedback.stages[1].step, 10);
  EXPECT_EQ(feedback.stages[1].steps, 100);
  EXPECT_TRUE(feedback.visible) << "the caller hides the loading window after its pass";
}

TEST_F(RecordLoaderTest, ReferencesPointIntoOneStore) {
  writeRecordFile(goodLines(50));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  for (std::size_t i = 0; i < records.AllRecords.size(); ++i) EXPECT_EQ(records.AllRecords[i], &records.RecordStore[i]);
  LoadedRecords moved = std::move(records);
  EXPECT_EQ(moved.AllRecords[49]->Hits, 149);
}

TEST_F(RecordLoaderTest, IncrementalLoadParsesOnlyTheAppendedLines) {
  writeRecordFile(goodLines(1000));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  appendRecordFile(goodLines(3, 500));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Incremental);
  EXPECT_EQ(summary.decodedEntries, 1000);
  EXPECT_EQ(summary.parsedLines, 3);
  EXPECT_EQ(records.RecordCapacity, 1003);
  EXPECT_EQ(dataFile().size(), 10030);
  EXPECT_EQ(storedSize(), 46138);
  EXPECT_EQ(loaded(), parsedRecordFile());
  ASSERT_EQ(feedback.stages.size(), 1u);
  EXPECT_EQ(feedback.stages[0].maximum, 1000);
  EXPECT_EQ(feedback.stages[0].steps, 10);
}

TEST_F(RecordLoaderTest, UnchangedRecordFileIsOnlyDecoded) {
  writeRecordFile(goodLines(1000));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  const QByteArray before = dataFile();
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Incremental);
  EXPECT_EQ(summary.parsedLines, 0);
  EXPECT_EQ(dataFile(), before);
  EXPECT_EQ(storedSize(), 46000);
  EXPECT_EQ(loaded(), parsedRecordFile());
}

TEST_F(RecordLoaderTest, BadLineIsReportedOnceWithItsNumber) {
  std::string text = goodLines(20);
  text.replace(11 * 46 + 20, 26, "\r\n");  // line 12 cut short
  writeRecordFile(text);
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  // The path as the system writes paths (on Windows with "\").
  EXPECT_THAT(feedback.messages,
              ElementsAre(NativePath::toNative(recordPath) + u"ファイルのデータの 12 行目に誤りがありました。"_s));
  EXPECT_EQ(records.AllRecords.size(), 19u);
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_THAT(feedback.messages, IsEmpty());
  EXPECT_EQ(records.AllRecords.size(), 19u);
}

TEST_F(RecordLoaderTest, BadAppendedPieceAsksForARebuild) {
  writeRecordFile(goodLines(10));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  appendRecordFile(goodLines(2, 300) + "R 2024/01");  // the last piece is short
  ASSERT_EQ(load(), LoadOutcome::TailFailed);
  EXPECT_THAT(feedback.messages, ElementsAre(u"ﾃﾞｰﾀに誤りがありました。\nメニューから[ﾌｧｲﾙ]-[圧縮ﾃﾞｰﾀ作成]で\n"
                                             u"ﾃﾞｰﾀﾌｧｲﾙを作り直してください。"_s));
  EXPECT_FALSE(feedback.visible);
  EXPECT_EQ(storedSize(), 0);
  EXPECT_EQ(records.AllRecords.size(), 12u) << "what was loaded up to the failure";
  EXPECT_EQ(dataFile().size(), 120) << "the entries appended before the failure stay";

  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Full);
  EXPECT_THAT(feedback.messages,
              ElementsAre(NativePath::toNative(recordPath) + u"ファイルのデータの 13 行目に誤りがありました。"_s));
}

TEST_F(RecordLoaderTest, MissCountsSurviveTheDataFile) {
  writeRecordFile(recordLine(ModeAlphabet, 2000, 1, 1, 1, 1, 1, 100, 255) +
                  recordLine(ModeAlphabet, 2000, 1, 1, 1, 1, 2, 100, 300));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(static_cast<std::uint8_t>(dataFile()[9]), 0);
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  ASSERT_EQ(summary.kind, LoadKind::Incremental);
  EXPECT_EQ(records.AllRecords[0]->Misses, 255);
  EXPECT_EQ(records.AllRecords[1]->Misses, 44);
}

TEST_F(RecordLoaderTest, ForgettingTheStoredSizeRebuildsTheSameDataFile) {
  writeRecordFile(goodLines(300));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  const QByteArray before = dataFile();
  RecordLoader loader(settings, feedback);
  ASSERT_TRUE(loader.forgetStoredSize(recordPath));
  EXPECT_EQ(storedSize(), 0);
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Full);
  EXPECT_EQ(dataFile(), before);
  EXPECT_EQ(storedSize(), 300 * 46);
}

TEST_F(RecordLoaderTest, LfOnlyFileIsOneLine) {
  std::string text = goodLines(5);
  std::string lfOnly;
  for (char c : text)
    if (c != '\r') lfOnly += c;
  writeRecordFile(lfOnly);
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  ASSERT_EQ(records.AllRecords.size(), 1u);
  EXPECT_EQ(records.AllRecords[0]->Hits, 100);
}

TEST_F(RecordLoaderTest, FileOfBadLinesReportsEachAndKeepsNothing) {
  writeRecordFile("junk\r\nmore junk\r\n\r\n");
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(feedback.messages.size(), 3);
  EXPECT_TRUE(records.AllRecords.empty());
  EXPECT_TRUE(QFile::exists(dir.file(u"test.hok"_s)));
  EXPECT_EQ(dataFile().size(), 0);
  EXPECT_EQ(storedSize(), 19);
}

TEST_F(RecordLoaderTest, NoRecordFileAsksForOneAndChangesNothing) {
  writeRecordFile(goodLines(4));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  for (const QString& path : {dir.file(u"missing.ｷﾛｸ"_s), QString(), dir.path() + u'/'}) {
    feedback = RecordingFeedback();
    RecordLoader loader(settings, feedback);
    EXPECT_EQ(loader.load(path, records), LoadOutcome::NoRecordFile) << path.toStdString();
    EXPECT_THAT(feedback.messages, ElementsAre(u"最初に記録ファイルを選択してください。"_s));
    EXPECT_TRUE(feedback.stages.empty());
    EXPECT_EQ(records.AllRecords.size(), 4u);
  }
}

TEST_F(RecordLoaderTest, StoreHoldsMoreLinesThanTheEstimate) {
  std::string text = goodLines(100);
  std::string crOnly;
  for (char c : text)
    if (c != '\n') crOnly += c;  // 45 bytes a line: the estimate says 97
  writeRecordFile(crOnly);
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(records.RecordCapacity, 97);
  EXPECT_EQ(records.AllRecords.size(), 100u);
  EXPECT_THAT(feedback.messages, IsEmpty());
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Incremental);
  EXPECT_EQ(records.AllRecords.size(), 100u);
}

// The load that finds the file shorter shows the cached runs as they are; the
// next one reads the shorter file in full.
TEST_F(RecordLoaderTest, ShorterRecordFileShowsTheCachedRunsOnce) {
  writeRecordFile(goodLines(100));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  writeRecordFile(goodLines(10));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Incremental);
  EXPECT_EQ(records.RecordCapacity, 100 + (460 - 4600) / 46);
  EXPECT_EQ(records.AllRecords.size(), 100u);
  EXPECT_EQ(storedSize(), 0);
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Full);
  EXPECT_EQ(loaded(), parsedRecordFile());
  EXPECT_EQ(storedSize(), 460);
}

// A data file claiming more runs than the stored size can hold is damaged
// before any memory is taken for them.
TEST_F(RecordLoaderTest, DataFileWithMoreRunsThanTheStoredSizeHoldsIsDamaged) {
  writeRecordFile(goodLines(2000));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  const QByteArray entries = dataFile();
  writeRecordFile(goodLines(10));
  dir.write(u"test.hok"_s, entries);
  settings.writeStoredSize({recordPath, recordPath}, 460);  // room for 11 runs
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Full);
  EXPECT_THAT(feedback.messages, ElementsAre(LoaderMessages::damagedDataFile()));
  EXPECT_EQ(loaded(), parsedRecordFile());
}

TEST_F(RecordLoaderTest, DamagedDataFileLeadsToAFullLoad) {
  writeRecordFile(goodLines(30));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  const QByteArray good = dataFile();
  const auto expected = parsedRecordFile();

  using DataFileEntry::Offset;
  const QByteArray badMode = withEntryByte(good, 15, Offset::ModeAt, 5);
  const QByteArray badDate =
      withEntryByte(withEntryByte(good, 15, Offset::MonthAt, 2), 15, Offset::DayAt, 31);  // 31 February
  const QByteArray badHour = withEntryByte(good, 29, Offset::HourAt, 0);                  // hour -1
  // An empty data file is no cache of a file with runs either.
  const QByteArray damaged[] = {shrunkBy(good, 5), good + "x", badMode, badDate, badHour, QByteArray()};
  for (const QByteArray& bytes : damaged) {
    dir.write(u"test.hok"_s, bytes);
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    EXPECT_EQ(summary.kind, LoadKind::Full);
    EXPECT_THAT(feedback.messages, ElementsAre(LoaderMessages::damagedDataFile()));
    EXPECT_EQ(loaded(), expected);
    EXPECT_EQ(dataFile(), good);
    EXPECT_EQ(storedSize(), 30 * 46);
  }
}

TEST_F(RecordLoaderTest, CrashWhileWritingTheDataFileLeadsToAFullLoad) {
  writeRecordFile(goodLines(500));
  ASSERT_EQ(load(), LoadOutcome::Loaded);

  // Stop the program half way through writing the data file.
  struct Crash {};
  RecordingFeedback crashing;
  crashing.onStep = [&crashing] {
    if (crashing.stages.size() == 2 && crashing.stages[1].steps == 20) throw Crash{};
  };
  appendRecordFile(goodLines(1));
  dir.write(u"test.hok"_s, "short");  // a damaged cache forces the rewrite
  RecordLoader loader(settings, crashing);
  EXPECT_THROW(loader.load(recordPath, records), Crash);
  EXPECT_EQ(storedSize(), 0) << "the stored size is 0 while the data file is incomplete";

  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Full);
  EXPECT_EQ(loaded(), parsedRecordFile());
  EXPECT_EQ(records.AllRecords.size(), 501u);
}

TEST_F(RecordLoaderTest, UnwritableDataFileStillGivesACompleteLoad) {
  writeRecordFile(goodLines(40));
  QDir(dir.path()).mkdir(u"test.hok"_s);  // a folder where the data file belongs
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_THAT(feedback.messages, ElementsAre(NativePath::toNative(dir.file(u"test.hok"_s)) +
                                             u" に書き込めません\nファイルではなくフォルダです。"_s));
  EXPECT_EQ(records.AllRecords.size(), 40u);
  EXPECT_EQ(storedSize(), 0);
}

TEST_F(RecordLoaderTest, UnwritableSettingsAreReportedAndTheLoadCompletes) {
  writeRecordFile(goodLines(40));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  const QByteArray cached = dataFile();
  dir.write(u"blocker"_s, "a file, not a folder");
  SettingsFile unwritable(dir.file(u"blocker/hoko32.ini"_s));
  appendRecordFile(goodLines(2, 600));
  RecordingFeedback f;
  RecordLoader loader(unwritable, f);
  // No stored size can be read from it either, so this is a full load.
  ASSERT_EQ(loader.load(recordPath, records), LoadOutcome::Loaded);
  EXPECT_EQ(records.AllRecords.size(), 42u);
  EXPECT_THAT(f.messages, ElementsAre(unwritable.writeFailureMessage()));
  EXPECT_EQ(dataFile().size(), 420);
}

TEST_F(RecordLoaderTest, RunsTheDataFileCannotHoldForceFullLoads) {
  writeRecordFile(goodLines(3) + recordLine(ModeRomaji, 1899, 12, 31, 1, 1, 1, 100, 1) +
                  "  2000/01/01  01:01:01  HIT = -99  MISS=   1\r\n");  // no mode letter: keeps R
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  ASSERT_EQ(records.AllRecords.size(), 5u);
  EXPECT_EQ(records.AllRecords[4]->Mode, ModeRomaji);
  EXPECT_EQ(records.AllRecords[4]->Hits, 65437);
  EXPECT_EQ(storedSize(), 0);
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Full);
  ASSERT_EQ(records.AllRecords.size(), 5u);
  EXPECT_EQ(records.AllRecords[3]->Year, 1899);
  EXPECT_EQ(records.AllRecords[4]->Hits, 65437);
}

TEST_F(RecordLoaderTest, UnreadableRecordFileIsReported) {
  // /proc/self/mem is a file that opens but cannot be read from its start.
  RecordLoader loader(settings, feedback);
  const LoadOutcome outcome = loader.load(u"/proc/self/mem"_s, records);
  EXPECT_EQ(outcome, LoadOutcome::Unreadable);
  ASSERT_EQ(feedback.messages.size(), 1);
  EXPECT_TRUE(feedback.messages[0].startsWith(NativePath::toNative(u"/proc/self/mem"_s) + u" を読み込めません。"_s));
  EXPECT_FALSE(feedback.visible);
}

// What the full load keeps, worked out the plain way: each line as the reader
// gives it, through the general parser, one after another.
std::vector<PracticeRecord> keptLineByLine(const std::string& text) {
  QByteArray bytes = bytesOf(text);
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  RecordLineReader reader(buffer);
  PracticeRecord scratch;
  std::vector<PracticeRecord> kept;
  for (std::string_view line; reader.next(line);) {
    ParseRecordLineByFields(line, scratch);
    if (scratch.Mode != ModeFailed) kept.push_back(scratch);
  }
  return kept;
}

TEST_F(RecordLoaderTest, FullLoadKeepsWhatLineByLineParsingKeeps) {
  const std::string cut = recordLine(ModeRomaji, 2024, 2, 29, 23, 59, 59, 123, 4).substr(0, 44);
  const std::string odd[] = {
      " " + cut.substr(1) + "\r\n",                         // no mode letter: the mode of the line before
      "A 2023/02/29" + cut.substr(12) + "\r\n",             // no such day, and so ...
      " " + cut.substr(1) + "\r\n",                         // ... this line fails too
      cut.substr(0, 30) + "+12" + cut.substr(33) + "\r\n",  // a sign
      cut + "\r",
      cut + "\n\r\n",
      cut + " more\r\n",
      cut.substr(0, 43) + "\r\n",
      "\r\n",
      cut.substr(0, 20) + std::string(1, '\0') + cut.substr(21) + "\r\n",
  };
  // Each start moves where the reader's 64 KiB reads cut the lines.
  for (const std::size_t shift : {0, 1, 17, 45}) {
    std::string text = std::string(shift, 'x') + "\r\n";
    for (int i = 0; i < 3000; ++i) {
      text += recordLine(static_cast<PracticeMode>(i % 4), 2001 + i / 2000, 1 + i / 200 % 12, 1 + i / 10 % 20, i % 24,
                         i % 60, i % 60, i % 999, i % 300);
      if (i % 37 == 0) text += odd[static_cast<std::size_t>(i / 37) % std::size(odd)];
    }
    for (const std::string& file : {text + cut, text.substr(0, 46 * 2000) + "\x1a" + text.substr(46 * 2000)}) {
      writeRecordFile(file);
      settings.writeText(u"FileSize"_s, StoredSizes::keyFor(recordPath), u"0"_s);
      ASSERT_EQ(load(), LoadOutcome::Loaded);
      EXPECT_EQ(loaded(), keptLineByLine(file)) << shift;
    }
  }
}

// 3 GB of record file, nearly all of it a hole: its stored size beyond 32
// bits is read and written, and the lines after it are read from beyond 2^31.
TEST_F(RecordLoaderTest, RecordFileBeyondTwoGigabytesKeepsItsCache) {
  constexpr qint64 Cached = 3'000'000'000;
  writeRecordFile(goodLines(10));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  QFile file(recordPath);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.resize(Cached) && file.seek(Cached));
  file.write(bytesOf(goodLines(2, 500)));
  file.close();
  const StoredSizeStore::RecordFile name{QFileInfo(recordPath).canonicalFilePath(), recordPath};
  ASSERT_TRUE(settings.writeStoredSize(name, Cached));
  for (const qint64 parsed : {2, 0}) {
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    EXPECT_EQ(summary.kind, LoadKind::Incremental);
    EXPECT_EQ(summary.parsedLines, parsed);
    ASSERT_EQ(records.AllRecords.size(), 12u);
    EXPECT_EQ(records.AllRecords[11]->Hits, 501);
    EXPECT_EQ(settings.readStoredSize(name).size, Cached + 92);
  }
}

TEST(RecordLoaderPaths, DataFileReplacesTheExtension) {
  EXPECT_EQ(RecordLoader::dataFilePathFor(u"/a/b/記録.ｷﾛｸ"_s), u"/a/b/記録.hok"_s);
  EXPECT_EQ(RecordLoader::dataFilePathFor(u"/a.b/c"_s), u"/a.b/c.hok"_s);
  EXPECT_EQ(RecordLoader::dataFilePathFor(u"x.y.ｷﾛｸ"_s), u"x.y.hok"_s);
}

}  // namespace
