#pragma once

#include <QString>
#include <QStringList>

// What the program starts with.
struct StartupContext {
  QString settingsPath;   // the settings file
  QString programFolder;  // ends in "/": defaults of the record folder and the fanfare
  QString workingFolder;  // where the banner pictures "Oiwai*.bmp" are counted
  QStringList arguments;  // the command line after the program name

  // The running program's: its settings file, folder, working folder and arguments.
  static StartupContext forApplication();
};
