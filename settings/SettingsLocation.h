#pragma once

#include <QString>

// Where the settings file lives: beside the program, named after it with the
// extension ".ini". When the program's folder cannot be written, or is a
// system folder below /usr (an installed program, even when root runs it),
// the per-user file $XDG_CONFIG_HOME/hoko32/<name>.ini (by default
// ~/.config/hoko32/<name>.ini) takes its place, so that saving never fails
// only because the program was installed and never writes into the system's
// folders.
namespace SettingsLocation {

QString forProgram(const QString& programPath);

// The per-user file for a program name, following XDG_CONFIG_HOME and HOME.
QString perUserFile(const QString& programName);

// The folder of a path, ending in "/" (the program folder of the defaults).
QString folderOf(const QString& path);

}  // namespace SettingsLocation
