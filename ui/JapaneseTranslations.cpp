#include "ui/JapaneseTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/FileListDates.h"

namespace JapaneseTranslations {

bool install(QCoreApplication& application) {
  return install(application, {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
}

bool install(QCoreApplication& application, const QStringList& folders) {
  // Qt's dialogs write file types, sizes and dates in the default locale; the
  // file dialogs' dates need telling.
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  QLocale::setDefault(japanese);
  if (!application.findChild<FileListDates*>(QString(), Qt::FindDirectChildrenOnly))
    application.installEventFilter(new FileListDates(&application));
  bool any = false;
  for (const char* catalogue : {"qtbase", "qt_help"}) {
    auto* translator = new QTranslator(&application);
    const QString name = QString::fromLatin1(catalogue);
    bool loaded = false;
    for (const QString& folder : folders) {
      loaded = translator->load(japanese, name, QStringLiteral("_"), folder);
      if (loaded) break;
    }
    if (loaded) {
      QCoreApplication::installTranslator(translator);
      any = true;
    } else {
      delete translator;
    }
  }
  return any;
}

}  // namespace JapaneseTranslations
