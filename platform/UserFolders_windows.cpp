// UserFolders on Windows: the roaming application data of the user and the
// Program Files folders, as the environment of every process names them.
#include <QDir>

#include "platform/UserFolders.h"

using namespace Qt::StringLiterals;

namespace UserFolders {

const char* settingsVariable() { return "APPDATA"; }

QString settingsFolder() {
  const QString base = QDir::fromNativeSeparators(qEnvironmentVariable(settingsVariable()));
  if (base.isEmpty() || QDir::isRelativePath(base)) return QDir::homePath() + u"/AppData/Roaming"_s;
  return base;
}

QStringList installedProgramFolders() {
  QStringList folders;
  // The 64-bit folder, the 32-bit one, and the 64-bit one as a 32-bit program sees it.
  for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
    const QString folder = QDir::cleanPath(QDir::fromNativeSeparators(qEnvironmentVariable(variable)));
    if (!folder.isEmpty() && !QDir::isRelativePath(folder) && !folders.contains(folder, Qt::CaseInsensitive))
      folders.append(folder);
  }
  return folders;
}

bool isInstalledProgramFolder(const QString& folder) {
  const QString cleaned = QDir::cleanPath(QDir::fromNativeSeparators(folder));
  for (const QString& installed : installedProgramFolders())
    if (cleaned.compare(installed, Qt::CaseInsensitive) == 0 ||
        cleaned.startsWith(installed + u'/', Qt::CaseInsensitive))
      return true;
  return false;
}

}  // namespace UserFolders
