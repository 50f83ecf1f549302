#include "settings/SettingsLocation.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace SettingsLocation {

namespace {

bool folderIsWritable(const QString& folder) {
  const QFileInfo info(folder);
  return info.isDir() && info.isWritable();
}

}  // namespace

QString folderOf(const QString& path) {
  QString folder = QFileInfo(path).absolutePath();
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder;
}

QString perUserFile(const QString& programName) {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + u"/.config"_s;
  return QDir::cleanPath(base + u"/hoko32/"_s + programName + u".ini"_s);
}

QString forProgram(const QString& programPath) {
  const QFileInfo program(programPath);
  const QString beside = program.absolutePath() + u'/' + program.completeBaseName() + u".ini"_s;
  const QString folder = program.absolutePath();
  const bool systemFolder = folder == u"/usr"_s || folder.startsWith(u"/usr/"_s);
  if (folderIsWritable(folder) && !systemFolder) return beside;
  return perUserFile(program.completeBaseName());
}

}  // namespace SettingsLocation
