// The loader against a hostile user and a busy machine, with nothing but files
// and threads: lines appended during a load, two loads at once, cut and
// damaged files, memory running out, floods of bad lines. What needs
// processes, links, file locks, FIFOs, system limits or file names Windows
// does not have is in RecordLoaderIntegrityTest.cpp.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <thread>

#include "platform/NativePath.h"
#include "records/DataFileEntry.h"
#include "records/LoaderMessages.h"
#include "settings/StoredSizes.h"
#include "support/IntegrityFixture.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

// ---------------------------------------------------------------------------
// Lines appended while a load runs are loaded once, by the next load

TEST_F(RecordLoaderIntegrity, LinesAppendedDuringALoadAreLeftForTheNextLoad) {
  for (const bool cached : {false, true}) {
    SCOPED_TRACE(cached ? "incremental load" : "full load");
    writeRecordFile(numberedLines(0, 1000));
    settings.writeText(u"FileSize"_s, StoredSizes::keyFor(recordPath), u"0"_s);
    if (cached) {
      ASSERT_EQ(load(), LoadOutcome::Loaded);
      appendRecordFile(numberedLines(1000, 5));
    }
    const int before = cached ? 1005 : 1000;
    // TAPPER appends three runs while the load reads (full) or decodes (cached).
    RecordingFeedback busy;
    bool appended = false;
    busy.onStep = [&] {
      if (!appended) appendTo(recordPath, numberedLines(before, 3));
      appended = true;
    };
    RecordLoader loader(settings, busy);
    ASSERT_EQ(loader.load(recordPath, records), LoadOutcome::Loaded);
    ASSERT_TRUE(appended);
    EXPECT_EQ(records.AllRecords.size(), static_cast<std::size_t>(before));
    EXPECT_EQ(storedSize(), before * 46);

    ASSERT_EQ(load(), LoadOutcome::Loaded);
    EXPECT_EQ(summary.kind, LoadKind::Incremental);
    EXPECT_EQ(summary.parsedLines, 3);
    EXPECT_EQ(records.AllRecords.size(), static_cast<std::size_t>(before + 3));
    EXPECT_TRUE(areLinesInOrder(records));
  }
}

// A load that meets a line half written (a write of a line that crosses a page
// is seen in two steps) may report it, but never shows a run twice.
bool isSoundLoad(LoadOutcome outcome, const LoadedRecords& records) {
  return (outcome == LoadOutcome::Loaded || outcome == LoadOutcome::TailFailed) && areLinesInOrder(records);
}

// TAPPER appends from another thread while loads run back to back. Whatever
// the moment, each load shows a prefix of the file, each run once.
TEST_F(RecordLoaderIntegrity, LoadsWhileAnotherThreadAppends) {
  writeRecordFile(numberedLines(0, 2000));
  std::atomic<bool> stop{false};
  std::atomic<int> written{2000};
  std::thread tapper([&] {
    QFile f(recordPath);
    if (!f.open(QIODevice::Append | QIODevice::Unbuffered)) return;
    while (!stop && written < 20000) {
      const std::string line = numberedLine(written);  // one write per line, as TAPPER does
      f.write(line.data(), static_cast<qint64>(line.size()));
      ++written;
      if (written % 16 == 0) std::this_thread::yield();
    }
  });
  ::testing::AssertionResult sound = ::testing::AssertionSuccess();
  for (int i = 0; i < 60 && sound; ++i) {
    if (i % 10 == 0)
      settings.writeText(u"FileSize"_s, StoredSizes::keyFor(recordPath), u"0"_s);  // a full load now and then
    const LoadOutcome outcome = load();
    if (!isSoundLoad(outcome, records))
      sound = ::testing::AssertionFailure() << "load " << i << ": " << areLinesInOrder(records).message();
  }
  stop = true;
  tapper.join();
  ASSERT_TRUE(sound);
  expectEveryRunOnce(written);
}

// ---------------------------------------------------------------------------
// Two loads of one file at once

TEST_F(RecordLoaderIntegrity, SecondLoadDuringALoadNeverAppendsTheTailTwice) {
  writeRecordFile(numberedLines(0, 500));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  appendRecordFile(numberedLines(500, 300));

  // The report tool starts while the viewer decodes: it must not append the
  // same 300 runs as well.
  SettingsFile otherSettings(settings.path());
  RecordingFeedback otherFeedback;
  RecordLoader other(otherSettings, otherFeedback);
  other.setLockWait(std::chrono::milliseconds(50));
  LoadedRecords otherRecords;
  LoadOutcome otherOutcome = LoadOutcome::NoRecordFile;
  RecordingFeedback first;
  bool ran = false;
  first.onStep = [&] {
    if (ran) return;
    ran = true;
    otherOutcome = other.load(recordPath, otherRecords);
  };
  RecordLoader loader(settings, first);
  ASSERT_EQ(loader.load(recordPath, records), LoadOutcome::Loaded);
  ASSERT_TRUE(ran);
  EXPECT_EQ(otherOutcome, LoadOutcome::Loaded);
  EXPECT_TRUE(areLinesInOrder(otherRecords));
  EXPECT_EQ(otherRecords.AllRecords.size(), 800u) << "the second load read the record file itself";
  EXPECT_FALSE(other.lastSummary().cacheKept);
  EXPECT_THAT(otherFeedback.messages, IsEmpty());

  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(dataFile().size(), 8000);
  EXPECT_EQ(records.AllRecords.size(), 800u);
  EXPECT_TRUE(areLinesInOrder(records));
}

TEST_F(RecordLoaderIntegrity, ConcurrentLoadsWithAppendsShowEveryRunOnce) {
  writeRecordFile(numberedLines(0, 1000));
  std::atomic<int> written{1000};
  std::atomic<bool> failed{false};
  auto loads = [&](int rounds) {
    SettingsFile ownSettings(settings.path());  // as a second program would have
    RecordingFeedback f;
    RecordLoader loader(ownSettings, f);
    for (int i = 0; i < rounds && !failed; ++i) {
      LoadedRecords own;
      if (!isSoundLoad(loader.load(recordPath, own), own)) failed = true;
    }
  };
  std::thread tapper([&] {
    for (int n = 0; n < 40 && !failed; ++n) {
      appendTo(recordPath, numberedLines(written, 25));
      written += 25;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  std::thread viewer(loads, 40);
  loads(40);  // the report tool
  viewer.join();
  tapper.join();
  EXPECT_FALSE(failed) << "a load showed a run twice or out of order";
  expectEveryRunOnce(written);
}

// ---------------------------------------------------------------------------
// One stored size per record file

TEST(StoredSizeKeys, OrdinaryPathsStandAsTheyAreOthersAreEncoded) {
  const struct {
    QString path;
    QString key;
  } cases[] = {
      {u"/home/yamada/タイプ/記録.ｷﾛｸ"_s, u"/home/yamada/タイプ/記録.ｷﾛｸ"_s},
      {u"/a/100%.ｷﾛｸ"_s, u"/a/100%.ｷﾛｸ"_s},
      {u"C:/Users/yamada/記録.ｷﾛｸ"_s, u"C:/Users/yamada/記録.ｷﾛｸ"_s},  // a drive on Windows
      {u";C:/x.ｷﾛｸ"_s, u"%;C:/x.ｷﾛｸ"_s},
      {u"/a/b=c.ｷﾛｸ"_s, u"%/a/b%3Dc.ｷﾛｸ"_s},
      {u"/a/x\r\ny.ｷﾛｸ"_s, u"%/a/x%0D%0Ay.ｷﾛｸ"_s},
      {u"/a/x.ｷﾛｸ\t"_s, u"%/a/x.ｷﾛｸ%09"_s},
      {u"/a/5%=.ｷﾛｸ"_s, u"%/a/5%25%3D.ｷﾛｸ"_s},
  };
  // Written as the system writes paths: on Windows with "\".
  for (const auto& c : cases) EXPECT_EQ(StoredSizes::keyFor(c.path), NativePath::toNative(c.key));
}

// ---------------------------------------------------------------------------
// Huge and damaged data files, memory

// A cached million-run file cut short: the load that finds it shorter shows
// the cached runs, and every load after it the file's runs.
TEST_F(RecordLoaderIntegrity, RecordFileCutShortKeepsLoading) {
  constexpr int Lines = 1'000'000;
  const std::string text = numberedLines(0, Lines);
  for (const int kept : {Lines / 10, Lines / 2, Lines / 10 * 9}) {
    SCOPED_TRACE(kept);
    writeRecordFile(text);
    settings.writeText(u"FileSize"_s, StoredSizes::keyFor(recordPath), u"0"_s);
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    ASSERT_TRUE(QFile::resize(recordPath, qint64{kept} * 46));
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    EXPECT_EQ(records.AllRecords.size(), std::size_t{Lines});
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(load(), LoadOutcome::Loaded) << feedback.messages.join(u'\n').toStdString();
      EXPECT_EQ(records.AllRecords.size(), static_cast<std::size_t>(kept));
      EXPECT_TRUE(areLinesInOrder(records));
      EXPECT_THAT(feedback.messages, IsEmpty());
    }
  }
}

TEST_F(RecordLoaderIntegrity, FortyGigabytesOfNothingAsDataFileIsDamaged) {
  writeRecordFile(numberedLines(0, 1000));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  // 40 GB of nothing, as `truncate -s 40G` leaves it.
  ASSERT_TRUE(QFile::resize(dataPath(), 40LL << 30));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Full);
  EXPECT_THAT(feedback.messages, ElementsAre(LoaderMessages::damagedDataFile()));
  EXPECT_EQ(records.AllRecords.size(), 1000u);
  EXPECT_EQ(QFileInfo(dataPath()).size(), 10000);
}

TEST_F(RecordLoaderIntegrity, FirstEntryWithoutADateIsDamaged) {
  writeRecordFile(numberedLines(0, 50));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  using DataFileEntry::Offset;
  QByteArray data = dataFile();
  for (const Offset part : {Offset::YearAt, Offset::MonthAt, Offset::DayAt}) data = withEntryByte(data, 0, part, 0);
  dir.write(u"test.hok"_s, data);
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Full);
  EXPECT_THAT(feedback.messages, ElementsAre(LoaderMessages::damagedDataFile()));
  EXPECT_TRUE(areLinesInOrder(records));
}

TEST_F(RecordLoaderIntegrity, AllocationFailureIsReportedAndNothingIsWritten) {
  for (const bool cached : {false, true}) {
    SCOPED_TRACE(cached ? "incremental load" : "full load");
    writeRecordFile(numberedLines(0, 800));
    settings.writeText(u"FileSize"_s, StoredSizes::keyFor(recordPath), u"0"_s);
    if (cached) {
      ASSERT_EQ(load(), LoadOutcome::Loaded);
      appendRecordFile(numberedLines(800, 100));
    }
    const QByteArray ini = dir.read(u"hoko32.ini"_s);
    const QByteArray data = dataFile();
    RecordingFeedback starved;
    starved.onStep = [] { throw std::bad_alloc(); };
    RecordLoader loader(settings, starved);
    EXPECT_EQ(loader.load(recordPath, records), LoadOutcome::OutOfMemory);
    EXPECT_THAT(starved.messages, ElementsAre(LoaderMessages::outOfMemory(recordPath)));
    EXPECT_FALSE(starved.visible);
    EXPECT_TRUE(records.AllRecords.empty());
    EXPECT_EQ(dir.read(u"hoko32.ini"_s), ini);
    EXPECT_EQ(dataFile(), data);
  }
}

// ---------------------------------------------------------------------------
// Bad lines and messages

TEST_F(RecordLoaderIntegrity, FloodOfBadLinesGivesTenMessagesAndOneCount) {
  writeRecordFile(std::string(5000, '\r') + numberedLines(0, 3));
  const int limits[] = {10, -1};
  for (const int limit : limits) {
    SCOPED_TRACE(limit);
    struct Limited : RecordingFeedback {
      int limit = 10;
      int badLineMessageLimit() const override { return limit; }
    } f;
    f.limit = limit;
    RecordLoader loader(settings, f);
    settings.writeText(u"FileSize"_s, StoredSizes::keyFor(recordPath), u"0"_s);
    ASSERT_EQ(loader.load(recordPath, records), LoadOutcome::Loaded);
    EXPECT_EQ(records.AllRecords.size(), 3u);
    EXPECT_EQ(loader.lastSummary().badLines, 5000);
    if (limit < 0) {
      EXPECT_EQ(f.messages.size(), 5000);
      continue;
    }
    ASSERT_EQ(f.messages.size(), 11);
    EXPECT_EQ(f.messages[9], LoaderMessages::badLine(recordPath, 10));
    EXPECT_EQ(f.messages[10], LoaderMessages::moreBadLines(recordPath, 4990));
  }
}

}  // namespace
