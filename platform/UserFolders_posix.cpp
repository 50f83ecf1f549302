// UserFolders on Linux: the XDG base directories and /usr.
#include <QDir>

#include "platform/UserFolders.h"

using namespace Qt::StringLiterals;

namespace UserFolders {

const char* settingsVariable() { return "XDG_CONFIG_HOME"; }

QString settingsFolder() {
  const QString base = qEnvironmentVariable(settingsVariable());
  if (base.isEmpty() || QDir::isRelativePath(base)) return QDir::homePath() + u"/.config"_s;
  return base;
}

QStringList installedProgramFolders() { return {u"/usr"_s}; }

bool isInstalledProgramFolder(const QString& folder) { return folder == u"/usr"_s || folder.startsWith(u"/usr/"_s); }

}  // namespace UserFolders
