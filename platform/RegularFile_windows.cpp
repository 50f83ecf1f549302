// RegularFile on the Win32 API. The file is opened with CreateFileW and handed
// to the C runtime as a descriptor (_open_osfhandle), which QFile can read too;
// everything else works on the HANDLE behind it.
#include <QDir>

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include "platform/RegularFile.h"
#include "platform/WindowsError.h"

int errnoOfWindowsError(unsigned long error) {
  switch (error) {
    case ERROR_SUCCESS: return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_PRIVILEGE_NOT_HELD: return EACCES;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_LOCK_VIOLATION:
    case ERROR_IO_PENDING: return EWOULDBLOCK;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_DIRECTORY: return ENOTDIR;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW: return ENAMETOOLONG;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    case ERROR_INVALID_HANDLE: return EBADF;
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_NAME: return EINVAL;
    case ERROR_CANT_RESOLVE_FILENAME: return ELOOP;
    default: return EIO;
  }
}

namespace {

int lastErrno() { return errnoOfWindowsError(::GetLastError()); }

std::wstring nativePath(const QString& path) { return QDir::toNativeSeparators(path).toStdWString(); }

HANDLE handleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

// What a file's attributes say it is: a folder, a device, or a file.
FileProblem problemOfAttributes(DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileProblem::Folder;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return FileProblem::NotRegular;
  return FileProblem::None;
}

FileIdentity identityOfHandle(HANDLE handle, bool* ok = nullptr) {
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
  if (ok) *ok = known;
  if (!known) return {};
  return {info.dwVolumeSerialNumber,
          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | static_cast<std::uint64_t>(info.nFileIndexLow)};
}

// A handle of its own on the file behind `fd`, so that reads and writes at an
// offset leave the descriptor's file position where it was (a synchronous
// HANDLE moves it with every ReadFile and WriteFile). Falls back to the
// descriptor's own handle where the system cannot reopen it.
class OffsetHandle {
 public:
  OffsetHandle(int fd, DWORD access) : shared_(handleOf(fd)) {
    if (shared_ != INVALID_HANDLE_VALUE)
      own_ = ::ReOpenFile(shared_, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
  }
  ~OffsetHandle() {
    if (own_ != INVALID_HANDLE_VALUE) ::CloseHandle(own_);
  }
  OffsetHandle(const OffsetHandle&) = delete;
  OffsetHandle& operator=(const OffsetHandle&) = delete;

  HANDLE get() const { return own_ != INVALID_HANDLE_VALUE ? own_ : shared_; }

 private:
  HANDLE shared_;
  HANDLE own_ = INVALID_HANDLE_VALUE;
};

OVERLAPPED at(std::int64_t offset) {
  OVERLAPPED where{};
  where.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset) & 0xFFFFFFFFu);
  where.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
  return where;
}

constexpr DWORD MostAtOnce = 1u << 30;

// Reads up to `bytes`, at `offset` or (when it is negative) where the file's
// position is; -1 on an error, which errno then names.
std::int64_t readFully(HANDLE handle, std::int64_t offset, void* buffer, std::int64_t bytes) {
  auto* out = static_cast<char*>(buffer);
  std::int64_t total = 0;
  while (total < bytes) {
    const auto wanted = static_cast<DWORD>(std::min<std::int64_t>(bytes - total, MostAtOnce));
    DWORD got = 0;
    OVERLAPPED where = at(offset + total);
    if (!::ReadFile(handle, out + total, wanted, &got, offset < 0 ? nullptr : &where)) {
      if (::GetLastError() == ERROR_HANDLE_EOF) break;
      errno = lastErrno();
      return -1;
    }
    if (got == 0) break;
    total += got;
  }
  return total;
}

// Writes all `bytes` at `offset`, or where the file's position is when it is
// negative: 0, or the errno of the failure.
int writeFully(HANDLE handle, std::int64_t offset, const void* buffer, std::int64_t bytes) {
  const auto* in = static_cast<const char*>(buffer);
  while (bytes > 0) {
    const auto wanted = static_cast<DWORD>(std::min<std::int64_t>(bytes, MostAtOnce));
    DWORD put = 0;
    OVERLAPPED where = at(offset);
    if (!::WriteFile(handle, in, wanted, &put, offset < 0 ? nullptr : &where)) return lastErrno();
    if (put == 0) return EIO;
    in += put;
    bytes -= put;
    if (offset >= 0) offset += put;
  }
  return 0;
}

// The one byte whose lock stands for the whole file: far beyond any data, as a
// Windows lock keeps other handles from reading and writing what it covers.
constexpr DWORD LockOffsetLow = 0xFFFFFFFEu;
constexpr DWORD LockOffsetHigh = 0x7FFFFFFFu;

}  // namespace

bool RegularFile::open(const QString& path, Access access) {
  close();
  problem_ = FileProblem::None;
  errno_ = 0;
  created_ = false;
  const std::wstring name = nativePath(path);
  const DWORD wanted = access == Access::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  // Others may read, write, rename and delete the file while it is open, as on
  // POSIX (the settings file is replaced while its writer holds it locked).
  constexpr DWORD Share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE handle = INVALID_HANDLE_VALUE;
  if (access == Access::ReadWriteCreate) {
    handle = ::CreateFileW(name.c_str(), wanted, Share, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      created_ = true;
    } else if (const DWORD error = ::GetLastError(); error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      const FileProblem problem = inspectPath(path);
      if (problem == FileProblem::Folder || problem == FileProblem::NotRegular) return fail(problem, 0);
      return fail(problemOfErrno(errnoOfWindowsError(error)), errnoOfWindowsError(error));
    }
  }
  if (handle == INVALID_HANDLE_VALUE) {
    handle = ::CreateFileW(name.c_str(), wanted, Share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const int error = lastErrno();
      // A folder cannot be opened as a file: the open says "access denied".
      const FileProblem problem = inspectPath(path);
      if (problem == FileProblem::Folder) return fail(FileProblem::Folder, EISDIR);
      if (problem == FileProblem::NotRegular) return fail(problem, 0);
      return fail(problemOfErrno(error), error);
    }
  }
  // A console, a printer port, a pipe: no disk file.
  if (::GetFileType(handle) != FILE_TYPE_DISK) {
    ::CloseHandle(handle);
    return fail(FileProblem::NotRegular, 0);
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info)) {
    const int error = lastErrno();
    ::CloseHandle(handle);
    return fail(FileProblem::Other, error);
  }
  if (const FileProblem problem = problemOfAttributes(info.dwFileAttributes); problem != FileProblem::None) {
    ::CloseHandle(handle);
    return fail(problem, problem == FileProblem::Folder ? EISDIR : 0);
  }
  fd_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), access == Access::Read ? _O_RDONLY : 0);
  if (fd_ < 0) {
    ::CloseHandle(handle);
    return fail(FileProblem::Other, EMFILE);
  }
  ::_setmode(fd_, _O_BINARY);
  return true;
}

void RegularFile::close() {
  if (fd_ >= 0) ::_close(fd_);  // closes the HANDLE too
  fd_ = -1;
}

std::int64_t RegularFile::size() const {
  LARGE_INTEGER size{};
  if (fd_ < 0 || !::GetFileSizeEx(handleOf(fd_), &size)) return -1;
  return size.QuadPart;
}

FileIdentity RegularFile::identity() const {
  if (fd_ < 0) return {};
  return identityOfHandle(handleOf(fd_));
}

std::int64_t readFullyAt(int fd, std::int64_t offset, void* buffer, std::int64_t bytes) {
  const OffsetHandle handle(fd, GENERIC_READ);
  return readFully(handle.get(), std::max<std::int64_t>(offset, 0), buffer, bytes);
}

int writeFullyAt(int fd, std::int64_t offset, const void* buffer, std::int64_t bytes) {
  const OffsetHandle handle(fd, GENERIC_WRITE);
  return writeFully(handle.get(), offset, buffer, bytes);
}

void startWriteBackAt(int, std::int64_t, std::int64_t) {
  // Windows writes dirty pages back on its own; FlushFileBuffers in sync()
  // waits for them.
}

std::int64_t RegularFile::readFully(std::int64_t offset, void* buffer, std::int64_t bytes) {
  const std::int64_t got =
      offset < 0 ? ::readFully(handleOf(fd_), -1, buffer, bytes) : readFullyAt(fd_, offset, buffer, bytes);
  if (got < 0) fail(problemOfErrno(errno), errno);
  return got;
}

bool RegularFile::writeAll(const void* buffer, std::int64_t bytes) {
  const int error = writeFully(handleOf(fd_), -1, buffer, bytes);
  return error == 0 || fail(problemOfErrno(error), error);
}

bool RegularFile::seekToEnd() {
  LARGE_INTEGER none{};
  return ::SetFilePointerEx(handleOf(fd_), none, nullptr, FILE_END) || fail(FileProblem::Other, lastErrno());
}

bool RegularFile::resize(std::int64_t size) {
  // Cuts or grows the file without moving its position.
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = size;
  if (::SetFileInformationByHandle(handleOf(fd_), FileEndOfFileInfo, &end, sizeof end)) return true;
  const int error = lastErrno();
  return fail(problemOfErrno(error), error);
}

bool RegularFile::sync() { return ::FlushFileBuffers(handleOf(fd_)) || fail(FileProblem::Other, lastErrno()); }

bool RegularFile::tryLockExclusive() {
  OVERLAPPED where{};
  where.Offset = LockOffsetLow;
  where.OffsetHigh = LockOffsetHigh;
  if (::LockFileEx(handleOf(fd_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where)) return true;
  return fail(FileProblem::Other, lastErrno());
}

FileProblem inspectPath(const QString& path, int* error) {
  const std::wstring name = nativePath(path);
  const DWORD attributes = ::GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const int failure = lastErrno();
    if (error) *error = failure;
    // A symbolic link whose target is missing still has attributes of its own.
    WIN32_FILE_ATTRIBUTE_DATA link{};
    if (failure == ENOENT && ::GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &link) &&
        (link.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
      return FileProblem::BrokenLink;
    return problemOfErrno(failure);
  }
  if (error) *error = 0;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    // The attributes are the link's: open it to learn what it leads to.
    const HANDLE handle =
        ::CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const int failure = lastErrno();
      if (error) *error = failure;
      return failure == ENOENT ? FileProblem::BrokenLink : problemOfErrno(failure);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
    const bool disk = ::GetFileType(handle) == FILE_TYPE_DISK;
    ::CloseHandle(handle);
    if (!known) return FileProblem::Other;
    if (!disk) return FileProblem::NotRegular;
    return problemOfAttributes(info.dwFileAttributes);
  }
  return problemOfAttributes(attributes);
}

bool identityOf(const QString& path, FileIdentity& identity) {
  const HANDLE handle = ::CreateFileW(nativePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool ok = false;
  const FileIdentity found = identityOfHandle(handle, &ok);
  ::CloseHandle(handle);
  if (ok) identity = found;
  return ok;
}

bool identityOfStream(std::FILE* stream, FileIdentity& identity) {
  const HANDLE handle = handleOf(::_fileno(stream));
  if (handle == INVALID_HANDLE_VALUE || ::GetFileType(handle) != FILE_TYPE_DISK) return false;
  bool ok = false;
  const FileIdentity found = identityOfHandle(handle, &ok);
  if (ok) identity = found;
  return ok;
}

int lastSystemError() { return lastErrno(); }

void clearSystemError() { ::SetLastError(ERROR_SUCCESS); }

void writeStreamAsBytes(std::FILE* stream) {
  std::fflush(stream);
  ::_setmode(::_fileno(stream), _O_BINARY);
}

bool syncFolder(const QString&) {
  // NTFS makes the entries of a folder durable with the file's metadata.
  return true;
}
