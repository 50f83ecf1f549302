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
    if (!file.open(path, RegularFile::Access::Read)) {
      if (file.problem() != FileProblem::Missing || !QDir().mkpath(QFileInfo(path).absolutePath()) ||
          !file.open(path, RegularFile::Access::ReadWriteCreate))
        return;
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
