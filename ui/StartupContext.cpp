#include "ui/StartupContext.h"

#include <QCoreApplication>
#include <QDir>

#include "settings/SettingsLocation.h"

StartupContext StartupContext::forApplication() {
  StartupContext context;
  context.settingsPath = SettingsLocation::forProgram(QCoreApplication::applicationFilePath());
  context.programFolder = SettingsLocation::folderOf(QCoreApplication::applicationFilePath());
  context.workingFolder = QDir::currentPath();
  context.arguments = QCoreApplication::arguments().mid(1);
  return context;
}
