// The loader against a hostile user and a busy machine: the record file is
// never written, no run is shown twice, nothing aborts or hangs.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <functional>
#include <map>
#include <thread>

#include "platform/RegularFile.h"
#include "platform/ShiftJis.h"
#include "records/DataFileEntry.h"
#include "records/LoaderFixture.h"
#include "records/LoaderMessages.h"
#include "settings/StoredSizes.h"

using testing::ElementsAre;
using testing::IsEmpty;

// Every fsync of the program passes here first.
namespace SyncWatch {
std::function<void(int)> onSync;
}

extern "C" int fsync(int fd) {
  static const auto realFsync = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
  if (SyncWatch::onSync) SyncWatch::onSync(fd);
  return realFsync(fd);
}

namespace {

// Line n of a file in which every run has its own second: the run tells its
// line number back, so a run shown twice or missing is seen.
std::string numberedLine(int n) {
  const int day = n / 86400;
  return recordLine(static_cast<PracticeMode>(n % 4), 2001 + day / 336, 1 + day / 28 % 12, 1 + day % 28, n / 3600 % 24,
                    n / 60 % 60, n % 60, 100 + n % 500, n % 30);
}

std::string numberedLines(int first, int count) {
  std::string text;
  for (int n = first; n < first + count; ++n) text += numberedLine(n);
  return text;
}

int lineNumberOf(const PracticeRecord& r) {
  const int day = (r.Year - 2001) * 336 + (r.Month - 1) * 28 + (r.Day - 1);
  return day * 86400 + r.Hour * 3600 + r.Min * 60 + r.Sec;
}

// True when the records are lines 0, 1, 2 ... in order, each once.
::testing::AssertionResult areLinesInOrder(const LoadedRecords& records) {
  for (std::size_t i = 0; i < records.AllRecords.size(); ++i)
    if (lineNumberOf(*records.AllRecords[i]) != static_cast<int>(i))
      return ::testing::AssertionFailure() << "run " << i << " is line " << lineNumberOf(*records.AllRecords[i])
                                           << " of " << records.AllRecords.size();
  return ::testing::AssertionSuccess();
}

void appendTo(const QString& path, const std::string& text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::Append));
  ASSERT_EQ(f.write(bytesOf(text)), static_cast<qint64>(text.size()));
}

// Runs `work` in a child process and gives its wait status. The child never
// returns into the test framework: whatever happens, it ends with _exit().
int statusOfChild(const std::function<int()>& work) {
  const pid_t child = ::fork();
  if (child == 0) {
    int code = 99;
    try {
      code = work();
    } catch (...) {
    }
    ::_exit(code);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return status;
}

// Ends the test binary if a call blocks: a load must never wait on a FIFO.
class HangGuard {
 public:
  explicit HangGuard(unsigned seconds) { ::alarm(seconds); }
  ~HangGuard() { ::alarm(0); }
};

class RecordLoaderIntegrity : public LoaderFixture {
 protected:
  QString dataPath() const { return dir.file(u"test.hok"_s); }

  // The last load after the appends have stopped (one more if the one before
  // met a line half written) shows the file's lines, each once.
  void expectEveryRunOnce(int lines) {
    LoadOutcome outcome = load();
    for (int i = 0; i < 2 && outcome == LoadOutcome::TailFailed; ++i) outcome = load();
    ASSERT_EQ(outcome, LoadOutcome::Loaded);
    EXPECT_EQ(records.AllRecords.size(), static_cast<std::size_t>(lines));
    EXPECT_TRUE(areLinesInOrder(records));
  }
};

// ---------------------------------------------------------------------------
// The record file is never written

TEST_F(RecordLoaderIntegrity, DataFileThatIsTheRecordFileIsNeverWritten) {
  const std::string text = numberedLines(0, 300);
  const struct {
    const char* what;
    QString recordName;
    QString link;  // a second name of the record file at its data file's path
    bool symbolic;
  } cases[] = {
      {"record file named .hok", u"mine.hok"_s, {}, false},
      {"data file a symbolic link to it", u"link.ｷﾛｸ"_s, u"link.hok"_s, true},
      {"data file a hard link to it", u"hard.ｷﾛｸ"_s, u"hard.hok"_s, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QString path = dir.write(c.recordName, bytesOf(text));
    if (!c.link.isEmpty()) {
      const QByteArray from = QFile::encodeName(path);
      const QByteArray to = QFile::encodeName(dir.file(c.link));
      ASSERT_EQ(c.symbolic ? ::symlink(from.constData(), to.constData()) : ::link(from.constData(), to.constData()), 0);
    }
    // Even a stored size that claims a cache must not make the record file one.
    settings.writeText(u"FileSize"_s, path, QString::number(text.size()));

    RecordingFeedback f;
    RecordLoader loader(settings, f);
    for (int load = 0; load < 2; ++load) {
      ASSERT_EQ(loader.load(path, records), LoadOutcome::Loaded);
      EXPECT_EQ(loader.lastSummary().kind, LoadKind::Full);
      EXPECT_EQ(records.AllRecords.size(), 300u);
      EXPECT_TRUE(areLinesInOrder(records));
      EXPECT_EQ(dir.read(c.recordName), bytesOf(text)) << "the record file was written";
    }
    ASSERT_EQ(f.messages.size(), 1) << "told once, not at every load";
    EXPECT_EQ(f.messages[0], LoaderMessages::dataFileIsRecordFile(path, RecordLoader::dataFilePathFor(path)));
  }
}

// ---------------------------------------------------------------------------
// Lines appended while a load runs are loaded once, by the next load

TEST_F(RecordLoaderIntegrity, LinesAppendedDuringALoadAreLeftForTheNextLoad) {
  for (const bool cached : {false, true}) {
    SCOPED_TRACE(cached ? "incremental load" : "full load");
    writeRecordFile(numberedLines(0, 1000));
    settings.writeText(u"FileSize"_s, recordPath, u"0"_s);
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
    if (i % 10 == 0) settings.writeText(u"FileSize"_s, recordPath, u"0"_s);  // a full load now and then
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

// Another program holds the data file's lock (flock locks belong to an open
// file description) and keeps it: the viewer's windows are kept alive, a
// reload waits once, and a closing program ends the wait at once.
TEST_F(RecordLoaderIntegrity, WaitForTheLockKeepsTheWindowAliveOncePerReload) {
  struct WaitingFeedback : RecordingFeedback {
    bool keepWaiting() override {
      ++waits;
      waitsShown += !stages.empty() && stages.back().caption == LoaderMessages::waitingCaption();
      return !closing;
    }
    int waits = 0;
    int waitsShown = 0;  // while the caption says what the load waits for
    bool closing = false;
  } f;
  writeRecordFile(numberedLines(0, 300));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  appendRecordFile(numberedLines(300, 3));
  const int other = ::open(QFile::encodeName(dataPath()).constData(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  RecordLoader loader(settings, f);
  loader.setLockWait(std::chrono::milliseconds(600));
  ASSERT_EQ(loader.loadAppended(recordPath, records), LoadOutcome::Loaded);
  EXPECT_EQ(std::count_if(f.stages.begin(), f.stages.end(),
                          [](const auto& stage) { return stage.caption == LoaderMessages::waitingCaption(); }),
            1);
  EXPECT_GT(f.waitsShown, 0);
  EXPECT_FALSE(loader.lastSummary().cacheKept);
  EXPECT_EQ(records.AllRecords.size(), 303u);

  f = WaitingFeedback();
  f.closing = true;
  loader.setLockWait(std::chrono::seconds(60));
  ASSERT_EQ(loader.load(recordPath, records), LoadOutcome::Loaded);
  EXPECT_EQ(f.waits, 1);
  EXPECT_TRUE(areLinesInOrder(records));
  ::close(other);
}

TEST_F(RecordLoaderIntegrity, LoadKilledWhileHoldingTheCacheLeavesNoLock) {
  writeRecordFile(numberedLines(0, 400));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  appendRecordFile(numberedLines(400, 10));
  const int status = statusOfChild([&] {
    RecordingFeedback dying;
    dying.onStep = [] { ::raise(SIGKILL); };
    RecordLoader loader(settings, dying);
    loader.load(recordPath, records);
    return 0;
  });
  ASSERT_TRUE(WIFSIGNALED(status));

  RecordLoader loader(settings, feedback);
  loader.setLockWait(std::chrono::milliseconds(100));
  ASSERT_EQ(loader.load(recordPath, records), LoadOutcome::Loaded);
  EXPECT_TRUE(loader.lastSummary().cacheKept) << "the killed load's lock is gone";
  EXPECT_EQ(records.AllRecords.size(), 410u);
  EXPECT_TRUE(areLinesInOrder(records));
}

// ---------------------------------------------------------------------------
// One stored size per record file

TEST_F(RecordLoaderIntegrity, FilesDifferingByCaseKeepTheirOwnStoredSizes) {
  const QString lower = dir.write(u"rec.ｷﾛｸ"_s, bytesOf(numberedLines(0, 100)));
  const QString upper = dir.write(u"Rec.ｷﾛｸ"_s, bytesOf(numberedLines(0, 30)));
  RecordLoader loader(settings, feedback);
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(loader.load(lower, records), LoadOutcome::Loaded);
    EXPECT_EQ(records.AllRecords.size(), 100u);
    ASSERT_EQ(loader.load(upper, records), LoadOutcome::Loaded);
    EXPECT_EQ(records.AllRecords.size(), 30u);
  }
  EXPECT_EQ(loader.lastSummary().kind, LoadKind::Incremental);
  EXPECT_THAT(feedback.messages, IsEmpty());
}

TEST_F(RecordLoaderIntegrity, OneFileReachedByManyPathsKeepsOneStoredSize) {
  QDir(dir.path()).mkdir(u"real"_s);
  QDir(dir.path()).mkdir(u"other"_s);
  const QString real = dir.write(u"real/x.ｷﾛｸ"_s, bytesOf(numberedLines(0, 100)));
  dir.write(u"other/x.ｷﾛｸ"_s, bytesOf(numberedLines(0, 40)));
  ASSERT_TRUE(QFile::link(dir.file(u"real"_s), dir.file(u"linked"_s)));
  const QString viaLink = dir.file(u"linked/x.ｷﾛｸ"_s);
  const QString saved = QDir::currentPath();

  RecordLoader loader(settings, feedback);
  int lines = 100;
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    ASSERT_EQ(loader.load(real, records), LoadOutcome::Loaded);
    EXPECT_TRUE(areLinesInOrder(records));
    appendTo(real, numberedLines(lines, 7));
    lines += 7;
    ASSERT_EQ(loader.load(viaLink, records), LoadOutcome::Loaded);
    EXPECT_EQ(records.AllRecords.size(), static_cast<std::size_t>(lines));
    EXPECT_TRUE(areLinesInOrder(records));
    // Started as "hoko32 x.ｷﾛｸ" in one folder, then in another.
    QDir::setCurrent(dir.file(u"other"_s));
    ASSERT_EQ(loader.load(u"x.ｷﾛｸ"_s, records), LoadOutcome::Loaded);
    EXPECT_EQ(records.AllRecords.size(), 40u);
    QDir::setCurrent(dir.file(u"real"_s));
    ASSERT_EQ(loader.load(u"x.ｷﾛｸ"_s, records), LoadOutcome::Loaded);
    EXPECT_EQ(records.AllRecords.size(), static_cast<std::size_t>(lines));
    QDir::setCurrent(saved);
  }
  EXPECT_THAT(feedback.messages, IsEmpty());
  const QString ini = ShiftJis::decode(dir.read(u"hoko32.ini"_s)).value_or(QString());
  EXPECT_EQ(ini.count(u"x.ｷﾛｸ="_s), 2) << ini.toStdString();
}

// Keys of earlier versions: the path as the file was opened by.
TEST_F(RecordLoaderIntegrity, KeyOfAnEarlierVersionIsReadThenReplaced) {
  QDir(dir.path()).mkdir(u"real"_s);
  ASSERT_TRUE(QFile::link(dir.file(u"real"_s), dir.file(u"linked"_s)));
  const QString real = dir.write(u"real/x.ｷﾛｸ"_s, bytesOf(numberedLines(0, 100)));
  const QString viaLink = dir.file(u"linked/x.ｷﾛｸ"_s);

  RecordLoader loader(settings, feedback);
  ASSERT_EQ(loader.load(real, records), LoadOutcome::Loaded);  // writes the data file
  const QString size = settings.readText(u"FileSize"_s, real, {});
  settings.removeKey(u"FileSize"_s, real, SettingsFile::KeyMatch::ExactCase);
  settings.writeText(u"FileSize"_s, viaLink, size);  // as an earlier version wrote it

  ASSERT_EQ(loader.load(viaLink, records), LoadOutcome::Loaded);
  EXPECT_EQ(loader.lastSummary().kind, LoadKind::Incremental) << "the old key still serves";
  EXPECT_EQ(settings.readValue(u"FileSize"_s, real, SettingsFile::KeyMatch::ExactCase), size);
  EXPECT_FALSE(settings.readValue(u"FileSize"_s, viaLink, SettingsFile::KeyMatch::ExactCase).has_value());

  // Both keys, disagreeing: one is wrong, so the data file is rebuilt.
  settings.writeText(u"FileSize"_s, viaLink, u"92"_s);
  ASSERT_EQ(loader.load(viaLink, records), LoadOutcome::Loaded);
  EXPECT_EQ(loader.lastSummary().kind, LoadKind::Full);
  EXPECT_EQ(records.AllRecords.size(), 100u);
  EXPECT_FALSE(settings.readValue(u"FileSize"_s, viaLink, SettingsFile::KeyMatch::ExactCase).has_value());
}

// Paths that cannot be keys as they stand.
TEST_F(RecordLoaderIntegrity, PathsWithKeyCharactersKeepTheirCache) {
  for (const QString& name : {u"a=b.ｷﾛｸ"_s, u"two\nlines.ｷﾛｸ"_s, u"blank at end.ｷﾛｸ "_s, u"50%3D.ｷﾛｸ"_s}) {
    SCOPED_TRACE(name.toStdString());
    const QString path = dir.write(name, bytesOf(numberedLines(0, 60)));
    RecordingFeedback f;
    RecordLoader loader(settings, f);
    ASSERT_EQ(loader.load(path, records), LoadOutcome::Loaded);
    appendTo(path, numberedLines(60, 2));
    ASSERT_EQ(loader.load(path, records), LoadOutcome::Loaded);
    EXPECT_EQ(loader.lastSummary().kind, LoadKind::Incremental);
    EXPECT_EQ(loader.lastSummary().parsedLines, 2);
    EXPECT_TRUE(areLinesInOrder(records));
    EXPECT_THAT(f.messages, IsEmpty());
  }
}

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
  for (const auto& c : cases) EXPECT_EQ(StoredSizes::keyFor(c.path), c.key);
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
    settings.writeText(u"FileSize"_s, recordPath, u"0"_s);
    ASSERT_EQ(load(), LoadOutcome::Loaded);
    ASSERT_EQ(::truncate(QFile::encodeName(recordPath).constData(), qint64{kept} * 46), 0);
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
  ASSERT_EQ(::truncate(QFile::encodeName(dataPath()).constData(), 40LL << 30), 0);
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
    settings.writeText(u"FileSize"_s, recordPath, u"0"_s);
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

#ifndef __SANITIZE_ADDRESS__
// In a child whose address space is limited: a record file that promises more
// runs than memory holds is still loaded, and runs that really do not fit end
// in the message, not in an abort. (Not under AddressSanitizer, whose shadow
// memory needs the address space.)
TEST_F(RecordLoaderIntegrity, RealMemoryLimits) {
  const QString sparse = dir.file(u"sparse.ｷﾛｸ"_s);
  writeRecordFile(numberedLines(0, 400000));  // 12.8 MB of runs in the store
  {
    QFile f(sparse);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(256LL << 20));  // 256 MB of holes: a store of 178 MB promised
  }
  auto childLoad = [&](const QString& path, rlim_t headroom) {
    return statusOfChild([&] {
      QFile status(u"/proc/self/status"_s);
      status.open(QIODevice::ReadOnly);
      const QByteArray text = status.readAll();
      const qsizetype at = text.indexOf("VmSize:");
      const rlim_t used = static_cast<rlim_t>(text.mid(at + 7, 20).trimmed().split(' ').first().toLongLong()) * 1024;
      const rlimit limit{used + headroom, used + headroom};
      ::setrlimit(RLIMIT_AS, &limit);
      RecordingFeedback f;
      RecordLoader loader(settings, f);
      LoadedRecords own;
      const LoadOutcome outcome = loader.load(path, own);
      return static_cast<int>(outcome) * 10 + std::min<int>(static_cast<int>(f.messages.size()), 9);
    });
  };
  const int sparseStatus = childLoad(sparse, 64 << 20);
  ASSERT_TRUE(WIFEXITED(sparseStatus)) << "the load of a sparse file aborted";
  EXPECT_EQ(WEXITSTATUS(sparseStatus), static_cast<int>(LoadOutcome::Loaded) * 10 + 1) << "one bad line";

  const int tightStatus = childLoad(recordPath, 4 << 20);
  ASSERT_TRUE(WIFEXITED(tightStatus)) << "the load aborted";
  EXPECT_EQ(WEXITSTATUS(tightStatus), static_cast<int>(LoadOutcome::OutOfMemory) * 10 + 1);
  EXPECT_FALSE(QFile::exists(dataPath()) && dataFile().size() > 0);
}
#endif

// ---------------------------------------------------------------------------
// Nothing blocks, nothing reads without end

TEST_F(RecordLoaderIntegrity, DataFileThatIsAFifoGivesAFullLoadWithoutWaiting) {
  writeRecordFile(numberedLines(0, 200));
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  QFile::remove(dataPath());
  ASSERT_EQ(::mkfifo(QFile::encodeName(dataPath()).constData(), 0644), 0);
  HangGuard guard(20);
  ASSERT_EQ(load(), LoadOutcome::Loaded);
  EXPECT_EQ(summary.kind, LoadKind::Full);
  EXPECT_EQ(records.AllRecords.size(), 200u);
  EXPECT_THAT(feedback.messages,
              ElementsAre(LoaderMessages::cannotWrite(dataPath(), describeProblem(FileProblem::NotRegular, 0))));
}

TEST_F(RecordLoaderIntegrity, SettingsFileThatIsNoRegularFileNeitherBlocksNorRunsForever) {
  writeRecordFile(numberedLines(0, 20));
  const QString fifo = dir.file(u"fifo.ini"_s);
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
  const QString zeros = dir.file(u"zeros.ini"_s);
  ASSERT_TRUE(QFile::link(u"/dev/zero"_s, zeros));
  HangGuard guard(20);
  for (const QString& path : {fifo, zeros}) {
    SCOPED_TRACE(path.toStdString());
    SettingsFile special(path);
    RecordingFeedback f;
    RecordLoader loader(special, f);
    ASSERT_EQ(loader.load(recordPath, records), LoadOutcome::Loaded);
    EXPECT_EQ(records.AllRecords.size(), 20u);
    EXPECT_THAT(f.messages, ElementsAre(special.writeFailureMessage()));
    EXPECT_EQ(special.readInteger(u"Option"_s, u"Recent"_s, 7), 7);
  }
}

// ---------------------------------------------------------------------------
// Power cuts: the data file is on the disk before the size that declares it

TEST_F(RecordLoaderIntegrity, DataFileIsSyncedBeforeItsStoredSizeIsWritten) {
  for (const bool cached : {false, true}) {
    SCOPED_TRACE(cached ? "incremental load" : "full load");
    writeRecordFile(numberedLines(0, 300));
    settings.writeText(u"FileSize"_s, recordPath, u"0"_s);
    if (cached) {
      ASSERT_EQ(load(), LoadOutcome::Loaded);
      appendRecordFile(numberedLines(300, 4));
    }
    const qint64 entries = cached ? 304 : 300;
    std::vector<std::pair<qint64, qint64>> syncs;  // data file size and stored size at each sync of the data file
    SyncWatch::onSync = [&](int fd) {
      if (QFileInfo(QFile::decodeName(QByteArray("/proc/self/fd/") + QByteArray::number(fd))).canonicalFilePath() ==
          QFileInfo(dataPath()).canonicalFilePath())
        syncs.emplace_back(QFileInfo(dataPath()).size(), storedSize());
    };
    const LoadOutcome outcome = load();
    SyncWatch::onSync = nullptr;
    ASSERT_EQ(outcome, LoadOutcome::Loaded);
    ASSERT_FALSE(syncs.empty()) << "the data file was never synced";
    EXPECT_EQ(syncs.back(), std::make_pair(entries * 10, qint64{0}));
    EXPECT_EQ(storedSize(), entries * 46);
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
    settings.writeText(u"FileSize"_s, recordPath, u"0"_s);
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

TEST_F(RecordLoaderIntegrity, PathsThatAreNoRecordFileAreNamedWithTheReason) {
  dir.write(u"plain"_s, "x");
  QDir(dir.path()).mkdir(u"folder"_s);
  ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file(u"fifo.ｷﾛｸ"_s)).constData(), 0644), 0);
  ASSERT_TRUE(QFile::link(dir.file(u"gone.ｷﾛｸ"_s), dir.file(u"broken.ｷﾛｸ"_s)));
  struct Case {
    QString path;
    FileProblem problem;
    int error;
  };
  std::vector<Case> cases = {
      {dir.file(u"folder"_s), FileProblem::Folder, EISDIR},
      {dir.file(u"fifo.ｷﾛｸ"_s), FileProblem::NotRegular, 0},
      {dir.file(u"broken.ｷﾛｸ"_s), FileProblem::BrokenLink, ENOENT},
      {dir.file(u"plain/x.ｷﾛｸ"_s), FileProblem::Other, ENOTDIR},
  };
  if (::geteuid() != 0) {  // permissions do not stop root
    QDir(dir.path()).mkdir(u"closed"_s);
    dir.write(u"closed/x.ｷﾛｸ"_s, bytesOf(numberedLines(0, 1)));
    ::chmod(QFile::encodeName(dir.file(u"closed"_s)).constData(), 0);
    cases.push_back({dir.file(u"closed/x.ｷﾛｸ"_s), FileProblem::NoPermission, EACCES});
  }
  HangGuard guard(20);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    RecordingFeedback f;
    RecordLoader loader(settings, f);
    EXPECT_EQ(loader.load(c.path, records), LoadOutcome::NoRecordFile);
    EXPECT_THAT(f.messages, ElementsAre(LoaderMessages::notARecordFile(c.path, describeProblem(c.problem, c.error))));
  }
  ::chmod(QFile::encodeName(dir.file(u"closed"_s)).constData(), 0700);
}

}  // namespace
