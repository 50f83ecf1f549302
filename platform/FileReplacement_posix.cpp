#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileReplacement.h"
#include "platform/RegularFile.h"

int writeNewFileDurably(const QString& copy, const QString& like, const QByteArray& bytes) {
  struct stat existing {};
  const bool exists = ::stat(QFile::encodeName(like).constData(), &existing) == 0;
  const QByteArray name = QFile::encodeName(copy);
  const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  bool ok = (!exists || ::fchmod(fd, existing.st_mode & 07777) == 0 || errno == EPERM);
  qint64 written = 0;
  while (ok && written < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.constData() + written, static_cast<std::size_t>(bytes.size() - written));
    if (put < 0 && errno == EINTR) continue;
    ok = put > 0;
    if (ok) written += put;
  }
  ok = ok && ::fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) ::unlink(name.constData());
  return error;
}

int replaceFileWith(const QString& target, const QString& copy) {
  if (::rename(QFile::encodeName(copy).constData(), QFile::encodeName(target).constData()) != 0) return errno;
  syncFolder(QFileInfo(target).absolutePath());
  return 0;
}
