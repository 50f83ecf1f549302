#pragma once

#include <QFont>
#include <QString>

// The Windows font names the settings file and the windows use ("ＭＳ ゴシック",
// "ＭＳ Ｐゴシック", "ＭＳ 明朝", ...) stand for the Japanese fonts installed
// here, so that the panes' columns line up: a full-width character takes
// exactly two half-width columns.
namespace FontNames {

// Maps the names, once, before any window is made.
void installSubstitutions();

// A font by name and size in points (the settings file's form).
QFont paneFont(const QString& name, int pointSize);

}  // namespace FontNames
