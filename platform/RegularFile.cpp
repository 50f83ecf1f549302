#include "platform/RegularFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

using namespace Qt::StringLiterals;

FileProblem problemOfErrno(int error) {
  switch (error) {
    case ENOENT: return FileProblem::Missing;
    case EISDIR: return FileProblem::Folder;
    case EACCES:
    case EPERM:
    case EROFS: return FileProblem::NoPermission;
    default: return FileProblem::Other;
  }
}

namespace {

FileProblem problemOfMode(mode_t mode) {
  if (S_ISREG(mode)) return FileProblem::None;
  if (S_ISDIR(mode)) return FileProblem::Folder;
  return FileProblem::NotRegular;
}

}  // namespace

RegularFile::~RegularFile() { close(); }

RegularFile::RegularFile(RegularFile&& other) noexcept
    : fd_(other.fd_), problem_(other.problem_), errno_(other.errno_), created_(other.created_) {
  other.fd_ = -1;
}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.fd_;
    problem_ = other.problem_;
    errno_ = other.errno_;
    created_ = other.created_;
    other.fd_ = -1;
  }
  return *this;
}

bool RegularFile::fail(FileProblem problem, int error) {
  problem_ = problem;
  errno_ = error;
  return false;
}

bool RegularFile::open(const QString& path, Access access) {
  close();
  problem_ = FileProblem::None;
  errno_ = 0;
  created_ = false;
  const QByteArray name = QFile::encodeName(path);
  // O_NONBLOCK keeps a FIFO from blocking the open; it changes nothing for a
  // regular file.
  int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  flags |= access == Access::Read ? O_RDONLY : O_RDWR;
  if (access == Access::ReadWriteCreate) {
    fd_ = ::open(name.constData(), flags | O_CREAT | O_EXCL, 0666);
    if (fd_ >= 0) {
      created_ = true;
    } else if (errno != EEXIST) {
      return fail(inspectPath(path) == FileProblem::BrokenLink ? FileProblem::BrokenLink : problemOfErrno(errno),
                  errno);
    }
  }
  if (fd_ < 0) {
    do fd_ = ::open(name.constData(), flags);
    while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) {
      const int error = errno;
      if (error == ENOENT && inspectPath(path) == FileProblem::BrokenLink) return fail(FileProblem::BrokenLink, error);
      return fail(problemOfErrno(error), error);
    }
  }
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    const int error = errno;
    close();
    return fail(FileProblem::Other, error);
  }
  if (const FileProblem problem = problemOfMode(info.st_mode); problem != FileProblem::None) {
    close();
    return fail(problem, problem == FileProblem::Folder ? EISDIR : 0);
  }
  return true;
}

void RegularFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::int64_t RegularFile::size() const {
  struct stat info {};
  if (fd_ < 0 || ::fstat(fd_, &info) != 0) return -1;
  return info.st_size;
}

FileIdentity RegularFile::identity() const {
  struct stat info {};
  if (fd_ < 0 || ::fstat(fd_, &info) != 0) return {};
  return {info.st_dev, info.st_ino};
}

// Reads until `bytes` are read or the file ends: at `offset`, or at the current
// position when `offset` is negative.
namespace {

// Reads up to `bytes`, at `offset` or (when it is negative) where the file's
// position is; -1 on an error, which errno then names.
std::int64_t readFully(int fd, std::int64_t offset, void* buffer, std::int64_t bytes) {
  auto* out = static_cast<char*>(buffer);
  std::int64_t total = 0;
  while (total < bytes) {
    const auto wanted = static_cast<std::size_t>(bytes - total);
    const ssize_t got = offset < 0 ? ::read(fd, out + total, wanted) : ::pread(fd, out + total, wanted, offset + total);
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (got == 0) break;
    total += got;
  }
  return total;
}

}  // namespace

std::int64_t readFullyAt(int fd, std::int64_t offset, void* buffer, std::int64_t bytes) {
  return readFully(fd, std::max<std::int64_t>(offset, 0), buffer, bytes);
}

int writeFullyAt(int fd, std::int64_t offset, const void* buffer, std::int64_t bytes) {
  const auto* in = static_cast<const char*>(buffer);
  while (bytes > 0) {
    const ssize_t put = ::pwrite(fd, in, static_cast<std::size_t>(bytes), offset);
    if (put < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (put == 0) return EIO;
    in += put;
    bytes -= put;
    offset += put;
  }
  return 0;
}

std::int64_t RegularFile::readFully(std::int64_t offset, void* buffer, std::int64_t bytes) {
  const std::int64_t got = ::readFully(fd_, offset, buffer, bytes);
  if (got < 0) fail(problemOfErrno(errno), errno);
  return got;
}

std::int64_t RegularFile::readAt(std::int64_t offset, void* buffer, std::int64_t bytes) {
  return readFully(std::max<std::int64_t>(offset, 0), buffer, bytes);
}

std::int64_t RegularFile::read(void* buffer, std::int64_t bytes) { return readFully(-1, buffer, bytes); }

bool RegularFile::writeAll(const void* buffer, std::int64_t bytes) {
  const auto* in = static_cast<const char*>(buffer);
  while (bytes > 0) {
    const ssize_t put = ::write(fd_, in, static_cast<std::size_t>(bytes));
    if (put < 0) {
      if (errno == EINTR) continue;
      return fail(problemOfErrno(errno), errno);
    }
    in += put;
    bytes -= put;
  }
  return true;
}

bool RegularFile::writeAllAt(std::int64_t offset, const void* buffer, std::int64_t bytes) {
  const int error = writeFullyAt(fd_, offset, buffer, bytes);
  return error == 0 || fail(problemOfErrno(error), error);
}

bool RegularFile::seekToEnd() { return ::lseek(fd_, 0, SEEK_END) >= 0 || fail(FileProblem::Other, errno); }

bool RegularFile::resize(std::int64_t size) {
  return ::ftruncate(fd_, size) == 0 || fail(problemOfErrno(errno), errno);
}

bool RegularFile::sync() { return ::fsync(fd_) == 0 || fail(FileProblem::Other, errno); }

void RegularFile::startWriteBack(std::int64_t offset, std::int64_t bytes) {
  ::sync_file_range(fd_, offset, bytes, SYNC_FILE_RANGE_WRITE);
}

bool RegularFile::tryLockExclusive() {
  for (;;) {
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EINTR) return fail(FileProblem::Other, errno);
  }
}

bool RegularFile::lockExclusive(std::chrono::milliseconds wait) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + wait;
  auto pause = std::chrono::milliseconds(2);
  for (;;) {
    if (tryLockExclusive()) return true;
    if (errno_ != EWOULDBLOCK || Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}

FileProblem inspectPath(const QString& path, int* error) {
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  if (::stat(name.constData(), &info) == 0) {
    if (error) *error = 0;
    return problemOfMode(info.st_mode);
  }
  const int statError = errno;
  if (error) *error = statError;
  if (statError == ENOENT && ::lstat(name.constData(), &info) == 0 && S_ISLNK(info.st_mode))
    return FileProblem::BrokenLink;
  return problemOfErrno(statError);
}

bool identityOf(const QString& path, FileIdentity& identity) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return false;
  identity = {info.st_dev, info.st_ino};
  return true;
}

bool syncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

QString describeProblem(FileProblem problem, int error) {
  switch (problem) {
    case FileProblem::None: return {};
    case FileProblem::Missing: return u"ファイルがありません。"_s;
    case FileProblem::BrokenLink: return u"リンク先のファイルがありません。"_s;
    case FileProblem::Folder: return u"ファイルではなくフォルダです。"_s;
    case FileProblem::NotRegular: return u"通常のファイルではありません(パイプやデバイスなど)。"_s;
    case FileProblem::NoPermission:
      return error == EROFS ? u"読み取り専用の場所です。"_s : u"アクセスが許可されていません。"_s;
    case FileProblem::Other: break;
  }
  if (error == EWOULDBLOCK) return u"ほかのプログラムが使用中です。"_s;
  if (error == ENOSPC) return u"ディスクに空きがありません。"_s;
  if (error == ELOOP) return u"リンクが循環しています。"_s;
  if (error == ENOTDIR) return u"途中のフォルダがフォルダではありません。"_s;
  if (error == ENAMETOOLONG) return u"パスが長すぎます。"_s;
  if (error == EIO) return u"読み書きのエラーが起きました。"_s;
  return u"エラー: %1"_s.arg(QString::fromLocal8Bit(std::strerror(error)));
}
