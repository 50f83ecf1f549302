// The loader against a hostile user and a busy machine, where that takes POSIX
// calls or file names (links, processes, file locks, FIFOs, system limits,
// names differing by case): the record file is never written, no run is shown
// twice, nothing aborts or hangs. The cases that need none of that are in
// RecordLoaderRobustnessTest.cpp.

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
#include <csignal>
#include <functional>

#include "platform/RegularFile.h"
#include "platform/ShiftJis.h"
#include "records/LoaderMessages.h"
#include "support/IntegrityFixture.h"

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

// Another program holds the data file's lock (a record lock of an open file
// description, so another open of the file in this process stands for it) and
// keeps it: the viewer's windows are kept alive, a
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
  const int other = ::open(QFile::encodeName(dataPath()).constData(), O_RDWR | O_CLOEXEC);
  struct flock whole {};
  whole.l_type = F_WRLCK;
  whole.l_whence = SEEK_SET;
  ASSERT_EQ(::fcntl(other, F_OFD_SETLK, &whole), 0);
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

// Names that differ by case only are one file on Windows.
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

// A path through a folder link: QFile::link makes a shortcut on Windows, which no path passes through.
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
// A path through a folder link: QFile::link makes a shortcut on Windows, which no path passes through.
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
// A line break or a trailing blank cannot be in a file name on Windows.
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

// ---------------------------------------------------------------------------
// Huge and damaged data files, memory

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
