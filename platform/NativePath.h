#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// How a path is spelled where the program meets the typist and the system: the
// command line, the settings file and what the windows show. Inside, the
// program spells every path with "/" between folders, as Qt does on every
// system. On Windows a path that comes from outside may use "\" as well, and
// both split it; a path the program stores or shows uses "\", as every Windows
// program writes it. On Linux "\" is an ordinary character of a file name and
// every path passes unchanged.
//
// The functions take the rules of one system, by default this build's
// (`system()`), so that the rules of both are tested on either.
namespace NativePath {

struct Rules {
  QChar written;         // the separator of the paths stored and shown
  bool backslashSplits;  // "\" separates folders, as "/" does
};
inline constexpr Rules Posix{u'/', false};
inline constexpr Rules Windows{u'\\', true};

// This build's rules (NativePath_posix.cpp or NativePath_windows.cpp).
Rules system();

bool isSeparator(QChar c, Rules rules = system());
// The index of the last separator, or -1 when there is none.
qsizetype lastSeparator(QStringView path, Rules rules = system());

// The path in the program's own spelling: "/" between folders.
QString fromNative(const QString& path, Rules rules = system());
// The path as the system writes it, for the settings file and the screen.
QString toNative(const QString& path, Rules rules = system());

// A path taken apart at its last separator, in the program's spelling: the
// folder ending in "/" (empty when the path names no folder) and the name.
QString folderPart(const QString& path, Rules rules = system());
QString namePart(const QString& path, Rules rules = system());

}  // namespace NativePath
