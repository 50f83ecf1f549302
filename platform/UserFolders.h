#pragma once

#include <QString>
#include <QStringList>

// The folders where a program's files go by the system's custom: each user's
// settings, and the installed programs.
namespace UserFolders {

// The environment variable that names the folder of each user's settings:
// XDG_CONFIG_HOME (on Windows APPDATA).
const char* settingsVariable();

// That folder: the variable's value when it is an absolute path, else
// ~/.config (on Windows ~/AppData/Roaming).
QString settingsFolder();

// The folders of the installed programs: /usr (on Windows the Program Files
// folders, and %LOCALAPPDATA%\Programs, where a program installed for the
// current user alone goes).
QStringList installedProgramFolders();

// Whether `folder` (an absolute path) is one of installedProgramFolders() or
// lies below one, spelled as the system compares names.
bool isInstalledProgramFolder(const QString& folder);

}  // namespace UserFolders
