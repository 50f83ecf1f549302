#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

#include "platform/ProfileLock.h"

ProfileLock::ProfileLock(const QString& path, std::chrono::milliseconds wait) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + wait;
  for (;;) {
    RegularFile file;
    // Open for writing, as an exclusive record lock asks; a settings file that
    // may only be read (its folder lets the copy replace it) still gets a
    // shared lock, which waits for every writer.
    if (!file.open(path, RegularFile::Access::ReadWrite)) {
      const FileProblem problem = file.problem();
      if (problem == FileProblem::NoPermission) {
        if (!file.open(path, RegularFile::Access::Read)) return;
      } else if (problem != FileProblem::Missing || !QDir().mkpath(QFileInfo(path).absolutePath()) ||
                 !file.open(path, RegularFile::Access::ReadWriteCreate)) {
        return;
      }
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (!file.lockExclusive(std::max(left, std::chrono::milliseconds(0)))) {
      waitedInVain_ = file.error() == EWOULDBLOCK;
      return;
    }
    FileIdentity now;
    if (identityOf(path, now) && now == file.identity()) {
      file_ = std::move(file);
      return;
    }
    if (Clock::now() >= deadline) {  // replaced again and again
      waitedInVain_ = true;
      return;
    }
  }
}

ProfileLock::~ProfileLock() = default;
