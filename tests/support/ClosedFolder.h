#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// (Linux tests only.) A folder in which nothing can be made, even by root: read-only for others,
// and immutable where the file system and the process's rights allow it.
class ClosedFolder {
 public:
  explicit ClosedFolder(const QString& path) : path_(QFile::encodeName(path)) {
    ::chmod(path_.constData(), 0555);
    closed_ = ::geteuid() != 0 || setImmutable(true);
  }
  ~ClosedFolder() {
    if (::geteuid() == 0) setImmutable(false);
    ::chmod(path_.constData(), 0755);
  }
  bool closed() const { return closed_; }

 private:
  bool setImmutable(bool on) const {
    const int fd = ::open(path_.constData(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    const bool got = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    const bool set = got && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0) ::close(fd);
    return set;
  }

  QByteArray path_;
  bool closed_ = false;
};
