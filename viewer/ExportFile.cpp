#include "viewer/ExportFile.h"

#include "platform/RegularFile.h"
#include "records/LoaderMessages.h"

bool ExportFile::open() {
  clearSystemError();
  return noted(QSaveFile::open(QIODevice::WriteOnly | QIODevice::Unbuffered));
}

bool ExportFile::commit() {
  clearSystemError();
  return noted(QSaveFile::commit());
}

QString ExportFile::failure(const QString& shownPath) const {
  // Without an error of the system (Qt refused by itself), Qt's text.
  return LoaderMessages::cannotWrite(
      shownPath, systemError_ ? describeProblem(problemOfErrno(systemError_), systemError_) : errorString());
}

qint64 ExportFile::writeData(const char* data, qint64 bytes) {
  clearSystemError();
  const qint64 written = QSaveFile::writeData(data, bytes);
  if (written < bytes && !systemError_) systemError_ = lastSystemError();
  return written;
}

bool ExportFile::noted(bool done) {
  if (!done && !systemError_) systemError_ = lastSystemError();
  return done;
}
