// Runs appended while the viewer is open, added in place: the runs, the data
// file and the stored size end as a load would leave them, and whenever the
// runs in memory no longer match the cache, a load is done instead.
#include <gmock/gmock.h>

#include "records/LoaderFixture.h"
#include "records/LoaderMessages.h"

namespace {

class RecordLoaderAppendTest : public LoaderFixture {
 protected:
  LoadOutcome loadAppended(RecordLoader::TailEnd tailEnd = RecordLoader::TailEnd::WholeLines) {
    feedback = RecordingFeedback();
    RecordLoader loader(settings, feedback);
    const LoadOutcome outcome = loader.loadAppended(recordPath, records, tailEnd);
    summary = loader.lastSummary();
    return outcome;
  }

  // The data file a full load of the same bytes writes.
  QByteArray dataFileOfAFullLoad() const {
    TempDir other;
    other.write(u"test.ｷﾛｸ"_s, dir.read(u"test.ｷﾛｸ"_s));
    SettingsFile otherSettings(other.file(u"hoko32.ini"_s));
    RecordingFeedback quiet;
    LoadedRecords otherRecords;
    RecordLoader(otherSettings, quiet).load(other.file(u"test.ｷﾛｸ"_s), otherRecords);
    return other.read(u"test.hok"_s);
  }
};

TEST_F(RecordLoaderAppendTest, AppendedRunsJoinAsALoadWouldLeaveThem) {
  writeRecordFile(goodLines(500));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  const PracticeRecord* const first = records.AllRecords.front();
  for (int round = 1; round <= 3; ++round) {
    appendRecordFile(goodLines(round, 900 + round));
    ASSERT_EQ(loadAppended(), LoadOutcome::Loaded);
    EXPECT_EQ(summary.kind, LoadKind::Appended);
    EXPECT_EQ(summary.decodedEntries, 0);
    EXPECT_EQ(summary.parsedLines, round);
    EXPECT_TRUE(summary.cacheKept);
    EXPECT_TRUE(loaded() == parsedRecordFile());
    EXPECT_EQ(storedSize(), QFileInfo(recordPath).size());
    EXPECT_EQ(dataFile(), dataFileOfAFullLoad());
    EXPECT_TRUE(feedback.messages.isEmpty()) << feedback.messages.join(u'\n').toStdString();
    EXPECT_FALSE(feedback.visible);  // no loading window for a few runs
  }
  EXPECT_EQ(records.AllRecords.front(), first);  // the store did not move
  std::array<std::uint32_t, PracticeModeCount> counts{};
  for (const PracticeRecord& r : parsedRecordFile()) ++counts[r.Mode];
  EXPECT_EQ(records.ModeCounts, counts);

  // Nothing new: nothing changes.
  const QByteArray before = dataFile();
  ASSERT_EQ(loadAppended(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Appended);
  EXPECT_EQ(summary.parsedLines, 0);
  EXPECT_EQ(dataFile(), before);
}

TEST_F(RecordLoaderAppendTest, ManyRunsBeyondTheStoresRoomStillJoin) {
  writeRecordFile(goodLines(10));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  appendRecordFile(goodLines(3000));  // more than the store's room: it moves, the references follow
  ASSERT_EQ(loadAppended(), LoadOutcome::Loaded) << feedback.messages.join(u'\n').toStdString();
  EXPECT_EQ(summary.kind, LoadKind::Appended);
  EXPECT_TRUE(loaded() == parsedRecordFile());
  EXPECT_EQ(dataFile(), dataFileOfAFullLoad());
}

// TAPPER may be caught writing a line: the part written waits for the rest,
// and is never reported as a bad line.
TEST_F(RecordLoaderAppendTest, ALineStillBeingWrittenWaitsForItsEnd) {
  writeRecordFile(goodLines(20));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  const qint64 loadedSize = storedSize();
  const std::string next = goodLines(2, 777).substr(46);  // one whole line of 46 bytes
  appendRecordFile(next.substr(0, 20));
  ASSERT_EQ(loadAppended(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Appended);
  EXPECT_EQ(summary.parsedLines, 0);
  EXPECT_EQ(storedSize(), loadedSize);
  EXPECT_TRUE(feedback.messages.isEmpty());
  appendRecordFile(next.substr(20));
  ASSERT_EQ(loadAppended(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.parsedLines, 1);
  EXPECT_TRUE(loaded() == parsedRecordFile());
  EXPECT_TRUE(feedback.messages.isEmpty());

  // A last line without its line end is taken as it is when asked to.
  appendRecordFile(goodLines(1, 888).substr(0, 44));
  ASSERT_EQ(loadAppended(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.parsedLines, 0);
  ASSERT_EQ(loadAppended(RecordLoader::TailEnd::AsItIs), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Appended);
  ASSERT_EQ(records.AllRecords.size(), 22u);
  EXPECT_EQ(records.AllRecords.back()->Hits, 888);
  EXPECT_EQ(storedSize(), QFileInfo(recordPath).size());
}

// Whatever made the runs in memory stale, the result is that of a load.
TEST_F(RecordLoaderAppendTest, RunsThatNoLongerMatchTheCacheAreLoadedAgain) {
  struct Case {
    const char* name;
    std::function<void()> change;
    LoadKind expected;
  };
  const std::vector<Case> cases = {
      {"another program loaded the appended runs first",
       [this] {
         LoadedRecords theirs;
         RecordingFeedback quiet;
         RecordLoader(settings, quiet).load(recordPath, theirs);
       },
       LoadKind::Incremental},
      {"the data file was removed", [this] { QFile::remove(dir.file(u"test.hok"_s)); }, LoadKind::Full},
      {"the data file is to be made again", [this] { RecordLoader(settings, feedback).forgetStoredSize(recordPath); },
       LoadKind::Full},
      {"an appended line does not parse", [this] { appendRecordFile(std::string(44, 'z') + "\r\n"); },
       LoadKind::Incremental},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordLoader(settings, feedback).forgetStoredSize(recordPath);
    writeRecordFile(goodLines(300));
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    ASSERT_EQ(summary.kind, LoadKind::Full);
    appendRecordFile(goodLines(4, 950));
    c.change();
    loadAppended();
    EXPECT_EQ(summary.kind, c.expected);
    EXPECT_EQ(loaded().size(), parsedRecordFile().size());
    EXPECT_TRUE(loaded() == parsedRecordFile());  // every run once
  }
}

// A data file or stored size that no longer describes the record file is
// found before the tail is appended, and rebuilt: no run lost or shown twice.
TEST_F(RecordLoaderAppendTest, CacheThatNoLongerDescribesTheFileIsRebuilt) {
  const qint64 cachedSize = 500 * 46;
  const auto storeSize = [this](qint64 size) {
    settings.writeText(u"FileSize"_s, StoredSizes::keyFor(recordPath), QString::number(size));
  };
  const auto writeData = [this](const QByteArray& bytes) { dir.write(u"test.hok"_s, bytes); };
  const struct {
    const char* what;
    std::function<void()> change;
  } cases[] = {
      {"the data file lost its last 100 entries", [&] { writeData(dataFile().left(400 * 10)); }},
      {"the stored size was made smaller by 10 lines", [&] { storeSize(cachedSize - 460); }},
      {"the stored size was made smaller by 100 bytes", [&] { storeSize(cachedSize - 100); }},
      {"the stored size was made larger by the lines appended next", [&] { storeSize(cachedSize + 5 * 46); }},
      {"the data file's entries moved round by one", [&] { writeData(dataFile().mid(10) + dataFile().left(10)); }},
      {"its first entry is another run", [&] { writeData(withEntryByte(dataFile(), 0, DataFileEntry::SecAt, 60)); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RecordLoader(settings, feedback).forgetStoredSize(recordPath);
    writeRecordFile(goodLines(500));
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    c.change();
    appendRecordFile(goodLines(5, 900));
    EXPECT_EQ(loadAppended(), LoadOutcome::Loaded);
    EXPECT_THAT(feedback.messages, testing::ElementsAre(LoaderMessages::damagedDataFile()));
    EXPECT_TRUE(loaded() == parsedRecordFile());
    EXPECT_EQ(dataFile(), dataFileOfAFullLoad());
    EXPECT_EQ(storedSize(), QFileInfo(recordPath).size());
  }
}

// Caches of odd files stay trusted: the check reads the lines as a full load
// does, and an appended tail's last piece as it was appended.
TEST_F(RecordLoaderAppendTest, CachesOfOddFilesStayTrusted) {
  const std::string lines = goodLines(400);  // more than the check reads at either end
  const std::string odd[] = {
      lines.substr(0, lines.size() - 2),                // no CR LF after the last line: the next piece joins it
      lines.substr(0, 46) + "\x1a" + lines.substr(46),  // a 0x1A ends the text after the first line
  };
  for (const std::string& text : odd) {
    RecordLoader(settings, feedback).forgetStoredSize(recordPath);
    writeRecordFile(text);
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    appendRecordFile(goodLines(1, 900));
    ASSERT_EQ(loadAppended(), LoadOutcome::Loaded);
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    EXPECT_EQ(summary.kind, LoadKind::Incremental);
    EXPECT_TRUE(feedback.messages.isEmpty()) << feedback.messages.join(u'\n').toStdString();
  }
}

TEST_F(RecordLoaderAppendTest, ShorterFileIsLoadedAgain) {
  writeRecordFile(goodLines(300));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  writeRecordFile(goodLines(100));
  ASSERT_EQ(loadAppended(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Incremental);  // as any load of a shorter file: the cached runs stay
  EXPECT_EQ(records.AllRecords.size(), 300u);
}

}  // namespace
