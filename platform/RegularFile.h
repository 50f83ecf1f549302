#pragma once

#include <QString>

#include <chrono>
#include <cstdint>
#include <cstdio>

// Where a file lives on disk: two paths name the same file when their device
// and inode (on Windows: volume serial number and file index) agree, whatever
// links or spellings lead to it.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

// Why a path could not be opened as a regular file.
enum class FileProblem {
  None,
  Missing,       // nothing at the path
  BrokenLink,    // a symbolic link whose target is missing
  Folder,        // a folder
  NotRegular,    // a FIFO, a device, a socket
  NoPermission,  // the file or a folder on the way may not be read (or written)
  Other,         // anything else the system reported
};

// An open regular file (no FIFO, device or folder), read and written with
// plain system calls. handle() is a C runtime file descriptor on both
// platforms (on Windows one over the file's HANDLE). Opening never blocks: a FIFO is refused, not waited on.
// The handle is closed with the object; an advisory lock taken on it is given
// up then, also when the process dies, so a lock is never left behind.
class RegularFile {
 public:
  enum class Access { Read, ReadWrite, ReadWriteCreate };

  RegularFile() = default;
  ~RegularFile();
  RegularFile(RegularFile&& other) noexcept;
  RegularFile& operator=(RegularFile&& other) noexcept;
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  bool open(const QString& path, Access access);
  void close();
  bool isOpen() const { return fd_ >= 0; }
  int handle() const { return fd_; }

  // After a failed open (or any failed call): what went wrong, and the
  // system's error as an errno value (Windows errors are mapped to one).
  FileProblem problem() const { return problem_; }
  int error() const { return errno_; }

  // Whether open() created the file.
  bool created() const { return created_; }

  std::int64_t size() const;
  FileIdentity identity() const;

  // Reads up to `bytes` at `offset`; the number read (0 at the end), or -1.
  std::int64_t readAt(std::int64_t offset, void* buffer, std::int64_t bytes);
  // Reads at the current position; the number read (0 at the end), or -1.
  std::int64_t read(void* buffer, std::int64_t bytes);
  // Writes everything at the current position (the end, once moved there).
  bool writeAll(const void* buffer, std::int64_t bytes);
  bool seekToEnd();
  // Cuts the file to `size` bytes, or makes it longer with zeros (a hole).
  bool resize(std::int64_t size);
  // Data and size reach the disk before this returns.
  bool sync();

  // Takes an exclusive advisory lock (a record lock of the open file
  // description over the whole file, F_OFD_SETLK, which POSIX record locks
  // of other programs, Wine's among them, see; a shared one on a file open
  // for reading only; on Windows LockFileEx on one byte far beyond any data,
  // so that reads and writes of others go on) on the file when no other open
  // file holds one, without waiting. When another holds it, false with error()
  // EWOULDBLOCK; any other error() means that no lock can be had on the file.
  bool tryLockExclusive();
  // Waits up to `wait` for the lock, trying again and again (a sleep between
  // tries, at most 50 ms).
  bool lockExclusive(std::chrono::milliseconds wait);

 private:
  bool fail(FileProblem problem, int error);
  std::int64_t readFully(std::int64_t offset, void* buffer, std::int64_t bytes);

  int fd_ = -1;
  FileProblem problem_ = FileProblem::None;
  int errno_ = 0;
  bool created_ = false;
};

// What lives at `path` (links followed): FileProblem::None for a regular file.
FileProblem inspectPath(const QString& path, int* error = nullptr);

// The identity of the file at `path` (links followed), or false.
bool identityOf(const QString& path, FileIdentity& identity);

// Makes the creation, removal or renaming of entries of a folder durable
// (nothing to do on Windows).
bool syncFolder(const QString& folder);

// The identity of the file `stream` writes to, or false when it is no regular
// file (a terminal, a pipe) or cannot be told.
bool identityOfStream(std::FILE* stream, FileIdentity& identity);

// Makes a C stream write its bytes as they are given. Windows turns every LF
// of a text stream into CR LF (standard output is one); elsewhere nothing
// changes.
void writeStreamAsBytes(std::FILE* stream);

// The error of the system call that failed last in this thread, as an errno
// value (on Windows GetLastError() mapped to one), for a failure of a Qt file
// class, which keeps only a text of it; clearSystemError() before the call
// tells a failure of Qt's own (0) from the system's.
int lastSystemError();
void clearSystemError();

// The problem an errno value names.
FileProblem problemOfErrno(int error);

// Reads up to `bytes` at `offset`, short only at the end of the file: how many
// were read, or -1 on an error (errno says which). Keeps no state (the
// descriptor's position stays), so two threads may read one descriptor at once.
std::int64_t readFullyAt(int fd, std::int64_t offset, void* buffer, std::int64_t bytes);
// Writes all `bytes` at `offset`: 0, or the errno of the failure. Keeps no
// state, so two threads may write one descriptor at once.
int writeFullyAt(int fd, std::int64_t offset, const void* buffer, std::int64_t bytes);
// Starts writing the bytes to the disk without waiting, so that a sync later
// has less to wait for. Only a hint: nothing fails.
void startWriteBackAt(int fd, std::int64_t offset, std::int64_t bytes);

// The reason in the user's words (Japanese), for messages.
QString describeProblem(FileProblem problem, int error);
