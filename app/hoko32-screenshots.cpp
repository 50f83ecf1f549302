// Saves a picture of each tab and dialog of the viewer, opened on a record
// file, into a folder: hoko32-screenshots RECORD_FILE FOLDER
#include <QApplication>

#include "app/ScreenshotTour.h"
#include "ui/FontNames.h"
#include "ui/JapaneseTranslations.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  FontNames::installSubstitutions();
  JapaneseTranslations::install(app);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() != 3) return 2;
  return ScreenshotTour(arguments[1], arguments[2]).run();
}
