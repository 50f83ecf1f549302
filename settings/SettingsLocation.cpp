#include "settings/SettingsLocation.h"

#include <QDir>
#include <QFileInfo>

#include "platform/UserFolders.h"

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
  return QDir::cleanPath(UserFolders::settingsFolder() + u"/hoko32/"_s + programName + u".ini"_s);
}

QString forProgram(const QString& programPath) {
  const QFileInfo program(programPath);
  const QString beside = program.absolutePath() + u'/' + program.completeBaseName() + u".ini"_s;
  const QString folder = program.absolutePath();
  if (folderIsWritable(folder) && !UserFolders::isInstalledProgramFolder(folder)) return beside;
  return perUserFile(program.completeBaseName());
}

}  // namespace SettingsLocation
