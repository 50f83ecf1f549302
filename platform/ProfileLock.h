#pragma once

#include <QString>

#include <chrono>

#include "platform/RegularFile.h"

// Writers of one settings file (the viewer, the report tool, a second viewer)
// take turns: each holds this lock from reading the file until its copy has
// replaced it, so that no write undoes another (a lost write of a stored size
// would show runs twice). The system gives the lock up when the process dies.
//
// - POSIX: a record lock on the settings file itself (RegularFile's). The rename replaces the
//   locked file, so a writer that gets the lock checks that the path still
//   leads to the file it locked. Where no lock can be had at all (a file that
//   cannot be opened or created, a file system without locks) the write goes
//   on without one.
// - Windows: a named mutex of the session, named after the file's path, as
//   Windows will not rename a copy over a file that a handle holds open.
//
// A writer that waited its time in vain does not write.
class ProfileLock {
 public:
  ProfileLock(const QString& path, std::chrono::milliseconds wait);
  ~ProfileLock();
  ProfileLock(const ProfileLock&) = delete;
  ProfileLock& operator=(const ProfileLock&) = delete;

  // Another writer held the lock for all of the wait.
  bool waitedInVain() const { return waitedInVain_; }

 private:
  RegularFile file_;       // POSIX: the locked file
  void* mutex_ = nullptr;  // Windows: the mutex held
  bool waitedInVain_ = false;
};
