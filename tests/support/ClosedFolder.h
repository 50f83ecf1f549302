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
    if (::geteuid() != 0) {
      closed_ = true;
      return;
    }
    const int fd = ::open(path_.constData(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
      flags |= FS_IMMUTABLE_FL;
      closed_ = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (fd >= 0) ::close(fd);
  }
  ~ClosedFolder() {
    const int fd = ::open(path_.constData(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL)) {
      flags &= ~FS_IMMUTABLE_FL;
      ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    if (fd >= 0) ::close(fd);
    ::chmod(path_.constData(), 0755);
  }
  bool closed() const { return closed_; }

 private:
  QByteArray path_;
  bool closed_ = false;
};
