// UserFolders on Windows: the roaming application data of the user, the
// Program Files folders and the user's own program folder, as the environment
// of every process names them.
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
  const auto add = [&folders](const QString& named) {
    const QString folder = QDir::cleanPath(QDir::fromNativeSeparators(named));
    if (!folder.isEmpty() && !QDir::isRelativePath(folder) && !folders.contains(folder, Qt::CaseInsensitive))
      folders.append(folder);
  };
  // The 64-bit folder, the 32-bit one, and the 64-bit one as a 32-bit program sees it.
  for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"})
    add(qEnvironmentVariable(variable));
  // The programs installed for the current user alone (%LOCALAPPDATA%\Programs).
  if (const QString local = qEnvironmentVariable("LOCALAPPDATA"); !local.isEmpty()) add(local + u"/Programs"_s);
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
