// The file locks as other programs see them, and the reason given when a file
// cannot be made. POSIX only: other processes hold record locks (fcntl), as
// Wine does for a Windows program's LockFileEx and NFS for every lock.
#include <gtest/gtest.h>

#include <QFile>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <limits>
#include <ostream>

#include "platform/ProfileLock.h"
#include "platform/RegularFile.h"
#include "support/ClosedFolder.h"
#include "support/TempDir.h"

namespace {

using namespace std::chrono_literals;

// How another program locks: the range and the kind of record lock.
struct ForeignLock {
  const char* name;
  int command;  // F_SETLK (the process's lock) or F_OFD_SETLK
  off_t start;
  off_t length;  // 0: to the end and beyond
};

// Where Wine puts a Windows program's LockFileEx of one byte at the far end
// (the Windows build's lock).
constexpr off_t WindowsLockByte = std::numeric_limits<off_t>::max() - 1;

const ForeignLock ForeignLocks[] = {
    {"posix lock of the whole file", F_SETLK, 0, 0},
    {"posix lock of the Windows build's byte (Wine)", F_SETLK, WindowsLockByte, 1},
    {"posix lock of the first byte", F_SETLK, 0, 1},
    {"open-file-description lock of the whole file", F_OFD_SETLK, 0, 0},
};

void PrintTo(const ForeignLock& how, std::ostream* out) { *out << how.name; }

int foreignLock(int fd, const ForeignLock& how, short type) {
  struct flock range {};
  range.l_type = type;
  range.l_whence = SEEK_SET;
  range.l_start = how.start;
  range.l_len = how.length;
  return ::fcntl(fd, how.command, &range);
}

// A child process that takes the foreign lock on `path` and holds it while the
// holder lives. The constructor returns once the lock is held (or the child
// failed to take it: held() is then false).
class LockHolder {
 public:
  LockHolder(const QString& path, const ForeignLock& how) {
    int ready[2], release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) return;
    const QByteArray name = QFile::encodeName(path);
    pid_t child = ::fork();
    if (child == 0) {
      ::close(ready[0]);
      ::close(release[1]);
      const int fd = ::open(name.constData(), O_RDWR);
      const char result = fd >= 0 && foreignLock(fd, how, F_WRLCK) == 0 ? 'y' : 'n';
      (void)!::write(ready[1], &result, 1);
      char byte;
      (void)!::read(release[0], &byte, 1);
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    child_ = child;
    release_ = release[1];
    char result = 'n';
    held_ = ::read(ready[0], &result, 1) == 1 && result == 'y';
    ::close(ready[0]);
  }
  ~LockHolder() {
    if (release_ >= 0) ::close(release_);
    if (child_ > 0) ::waitpid(child_, nullptr, 0);
  }
  bool held() const { return held_; }

 private:
  pid_t child_ = -1;
  int release_ = -1;
  bool held_ = false;
};

// Whether a child process could take the foreign lock on `path` right now.
bool otherCanLock(const QString& path, const ForeignLock& how) { return LockHolder(path, how).held(); }

class RegularFileLock : public ::testing::TestWithParam<ForeignLock> {
 protected:
  TempDir dir;
  QString path = dir.write(QStringLiteral("typist.hok"), QByteArray(100, 'x'));
};

// Both ways, for a file open for writing and one open for reading (whose lock
// is a shared one).
TEST_P(RegularFileLock, AnotherProgramsRecordLockAndOursKeepEachOtherOut) {
  RegularFile writer, reader;
  ASSERT_TRUE(writer.open(path, RegularFile::Access::ReadWrite));
  ASSERT_TRUE(reader.open(path, RegularFile::Access::Read));
  {
    LockHolder other(path, GetParam());
    ASSERT_TRUE(other.held());
    for (RegularFile* file : {&writer, &reader}) {
      EXPECT_FALSE(file->tryLockExclusive());
      EXPECT_EQ(file->error(), EWOULDBLOCK) << "held by another, not \"no lock to be had\"";
    }
    EXPECT_FALSE(writer.lockExclusive(30ms));
  }
  ASSERT_TRUE(writer.tryLockExclusive()) << "free once the other program lets go";
  EXPECT_FALSE(otherCanLock(path, GetParam()));
  writer.close();
  ASSERT_TRUE(otherCanLock(path, GetParam())) << "let go with the file";
  ASSERT_TRUE(reader.tryLockExclusive());
  EXPECT_FALSE(otherCanLock(path, GetParam())) << "its shared lock keeps a writer out";
}

TEST_P(RegularFileLock, SettingsWriterWaitsForAnotherProgramsLock) {
  const QString settings = dir.write(QStringLiteral("hoko32.ini"), "[File]\r\nPath=a\r\n");
  {
    LockHolder other(settings, GetParam());
    ASSERT_TRUE(other.held());
    ProfileLock lock(settings, 50ms);
    EXPECT_TRUE(lock.waitedInVain());
  }
  ProfileLock lock(settings, 50ms);
  EXPECT_FALSE(lock.waitedInVain());
  EXPECT_FALSE(otherCanLock(settings, GetParam())) << "the settings lock keeps another program out";
}

INSTANTIATE_TEST_SUITE_P(Foreign, RegularFileLock, ::testing::ValuesIn(ForeignLocks),
                         [](const auto& info) { return std::to_string(info.index); });

// The file cannot be made: the reason is the one the creation met (EACCES,
// EPERM), not the missing file that looking at the path afterwards finds.
TEST(RegularFileOpen, ACreationThatIsRefusedSaysWhy) {
  TempDir dir;
  ClosedFolder closed(dir.path());
  if (!closed.closed()) GTEST_SKIP() << "no folder can be closed to root here";
  RegularFile file;
  ASSERT_FALSE(file.open(dir.file(QStringLiteral("typist.hok")), RegularFile::Access::ReadWriteCreate));
  EXPECT_EQ(file.problem(), FileProblem::NoPermission);
  EXPECT_TRUE(file.error() == EACCES || file.error() == EPERM) << file.error();
  EXPECT_EQ(describeProblem(file.problem(), file.error()), QStringLiteral("アクセスが許可されていません。"));
}

}  // namespace
