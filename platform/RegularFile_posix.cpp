// RegularFile on POSIX system calls (Linux).
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/RegularFile.h"

namespace {

FileProblem problemOfMode(mode_t mode) {
  if (S_ISREG(mode)) return FileProblem::None;
  if (S_ISDIR(mode)) return FileProblem::Folder;
  return FileProblem::NotRegular;
}

FileIdentity identityOfInfo(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

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
    } else if (const int error = errno; error != EEXIST) {
      // Taken before inspectPath, whose stat() would put its own error (the
      // file is missing, of course) in place of the reason it was not made.
      return fail(inspectPath(path) == FileProblem::BrokenLink ? FileProblem::BrokenLink : problemOfErrno(error),
                  error);
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
  return identityOfInfo(info);
}

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

void startWriteBackAt(int fd, std::int64_t offset, std::int64_t bytes) {
  ::sync_file_range(fd, offset, bytes, SYNC_FILE_RANGE_WRITE);
}

std::int64_t RegularFile::readFully(std::int64_t offset, void* buffer, std::int64_t bytes) {
  const std::int64_t got = ::readFully(fd_, offset, buffer, bytes);
  if (got < 0) fail(problemOfErrno(errno), errno);
  return got;
}

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

bool RegularFile::seekToEnd() { return ::lseek(fd_, 0, SEEK_END) >= 0 || fail(FileProblem::Other, errno); }

bool RegularFile::resize(std::int64_t size) {
  return ::ftruncate(fd_, size) == 0 || fail(problemOfErrno(errno), errno);
}

bool RegularFile::sync() { return ::fsync(fd_) == 0 || fail(FileProblem::Other, errno); }

bool RegularFile::tryLockExclusive() {
  // A record lock of the open file description over the whole file (and
  // beyond its end): one that POSIX record locks of other programs see, Wine's
  // LockFileEx among them, and that NFS passes on, where an flock would not.
  // A file open for reading only can hold a shared lock only, which still
  // keeps every exclusive one out.
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags < 0) return fail(FileProblem::Other, errno);
  struct flock whole {};
  whole.l_type = (flags & O_ACCMODE) == O_RDONLY ? F_RDLCK : F_WRLCK;
  whole.l_whence = SEEK_SET;
  whole.l_start = 0;
  whole.l_len = 0;  // to the end, however far the file grows
  for (;;) {
    if (::fcntl(fd_, F_OFD_SETLK, &whole) == 0) return true;
    if (errno == EAGAIN || errno == EACCES) return fail(FileProblem::Other, EWOULDBLOCK);  // held by another
    if (errno != EINTR) return fail(FileProblem::Other, errno);
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
  identity = identityOfInfo(info);
  return true;
}

bool identityOfStream(std::FILE* stream, FileIdentity& identity) {
  struct stat info {};
  if (::fstat(fileno(stream), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  identity = identityOfInfo(info);
  return true;
}

int lastSystemError() { return errno; }

void clearSystemError() { errno = 0; }

void writeStreamAsBytes(std::FILE*) {}  // streams write bytes as they are

bool syncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}
