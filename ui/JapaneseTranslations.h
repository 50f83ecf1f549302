#pragma once

class QCoreApplication;

// Qt's own texts (the buttons and captions of the file, font and colour
// dialogs, the panes' right-click menus, image errors, the help viewer) in
// Japanese, from Debian's qt6-translations-l10n, whatever the user's locale:
// the whole program speaks Japanese.
namespace JapaneseTranslations {

// Installs the catalogues into the application and makes Japanese (Japan) the
// default locale, in which the file dialogs then write their dates
// (FileListDates); false when no catalogue was found.
bool install(QCoreApplication& application);

}  // namespace JapaneseTranslations
