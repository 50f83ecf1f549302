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
  // A folder that carries its own Qt (the Windows one) has the catalogues in
  // "translations" beside the program; elsewhere they are the system's.
  const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
  const QString system = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  bool any = false;
  // "qt" gathers the base modules' catalogues; the help viewer has its own.
  for (const char* catalogue : {"qt", "qt_help"}) {
    auto* translator = new QTranslator(&application);
    const QString name = QString::fromLatin1(catalogue);
    if (translator->load(japanese, name, QStringLiteral("_"), beside) ||
        translator->load(japanese, name, QStringLiteral("_"), system)) {
      QCoreApplication::installTranslator(translator);
      any = true;
    } else {
      delete translator;
    }
  }
  return any;
}

}  // namespace JapaneseTranslations
