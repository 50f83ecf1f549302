#pragma once

#include <QString>

// Where the settings file lives: beside the program (a copy in a folder of its
// own), named after it with the extension ".ini". When the program's folder
// cannot be written, or holds installed programs (below /usr; on Windows below
// Program Files or the user's %LOCALAPPDATA%\Programs; also when an
// administrator runs it), the per-user file
// <settings folder>/hoko32/<name>.ini takes its place ($XDG_CONFIG_HOME, by
// default ~/.config; on Windows %APPDATA%), so that saving never fails only
// because the program was installed and never writes into the system's folders.
namespace SettingsLocation {

QString forProgram(const QString& programPath);

// The per-user file for a program name, in UserFolders::settingsFolder().
QString perUserFile(const QString& programName);

// The folder of a path, ending in "/" (the program folder of the defaults).
QString folderOf(const QString& path);

}  // namespace SettingsLocation
