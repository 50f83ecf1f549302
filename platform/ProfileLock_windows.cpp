#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <windows.h>

#include <algorithm>

#include "platform/ProfileLock.h"

namespace {

// One name per settings file, whatever spelling of its path (Windows paths
// ignore case); a mutex name holds no backslash after its namespace.
std::wstring mutexName(const QString& path) {
  const QString key = QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toCaseFolded();
  const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex();
  return L"Local\\hoko32-settings-" + QString::fromLatin1(hash).toStdWString();
}

}  // namespace

ProfileLock::ProfileLock(const QString& path, std::chrono::milliseconds wait) {
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, mutexName(path).c_str());
  if (!mutex) return;  // no lock to be had: the write goes on without one
  const auto millis = static_cast<DWORD>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0));
  switch (::WaitForSingleObject(mutex, millis)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // its holder died: its write never got to the rename
      mutex_ = mutex;
      return;
    case WAIT_TIMEOUT: waitedInVain_ = true; break;
    default: break;
  }
  ::CloseHandle(mutex);
}

ProfileLock::~ProfileLock() {
  if (!mutex_) return;
  ::ReleaseMutex(static_cast<HANDLE>(mutex_));
  ::CloseHandle(static_cast<HANDLE>(mutex_));
}
