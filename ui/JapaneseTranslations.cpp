#include "ui/JapaneseTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace JapaneseTranslations {

bool install(QCoreApplication& application) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  bool any = false;
  // "qt" gathers the base modules' catalogues; the help viewer has its own.
  for (const char* catalogue : {"qt", "qt_help"}) {
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QString::fromLatin1(catalogue),
                         QStringLiteral("_"), folder)) {
      QCoreApplication::installTranslator(translator);
      any = true;
    } else {
      delete translator;
    }
  }
  return any;
}

}  // namespace JapaneseTranslations
