#pragma once

#include <QStringList>

class QCoreApplication;

// Qt's own texts (the buttons and captions of the file, font and colour
// dialogs, the panes' right-click menus, image errors, the help viewer) in
// Japanese, from Debian's qt6-translations-l10n, whatever the user's locale:
// the whole program speaks Japanese.
namespace JapaneseTranslations {

// Installs the catalogues into the application and makes Japanese (Japan) the
// default locale, in which the file dialogs then write their dates
// (FileListDates); false when no catalogue was found. The catalogues come
// from "translations" beside the program (the Windows folder carries its own
// Qt and these with it), else from the system's Qt.
bool install(QCoreApplication& application);

// The same, with the catalogues looked for in FOLDERS, each in the first
// folder that holds it: Qt's base modules ("qtbase") and the help viewer
// ("qt_help"). Not the gathering catalogue "qt", which only names the
// modules' catalogues and fails as a whole when one of them (multimedia, which
// this program does not use) is not there.
bool install(QCoreApplication& application, const QStringList& folders);

}  // namespace JapaneseTranslations
