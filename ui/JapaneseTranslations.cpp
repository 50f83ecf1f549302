#include "ui/JapaneseTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/FileListDates.h"

namespace JapaneseTranslations {

bool install(QCoreApplication& application) {
  // Qt's dialogs write file types, sizes and dates in the default locale; the
  // file dialogs' dates need telling.
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  QLocale::setDefault(japanese);
  if (!application.findChild<FileListDates*>(QString(), Qt::FindDirectChildrenOnly))
    application.installEventFilter(new FileListDates(&application));
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  bool any = false;
  // "qt" gathers the base modules' catalogues; the help viewer has its own.
  for (const char* catalogue : {"qt", "qt_help"}) {
    auto* translator = new QTranslator(&application);
    if (translator->load(japanese, QString::fromLatin1(catalogue), QStringLiteral("_"), folder)) {
      QCoreApplication::installTranslator(translator);
      any = true;
    } else {
      delete translator;
    }
  }
  return any;
}

}  // namespace JapaneseTranslations
