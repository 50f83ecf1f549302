// hoko32: the viewer of TAPPER's record files.
#include <QApplication>

#include "ui/FontNames.h"
#include "ui/JapaneseTranslations.h"
#include "ui/MessageBoxes.h"
#include "ui/TfrmMain.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("hoko32"));
  FontNames::installSubstitutions();
  JapaneseTranslations::install(app);
  TfrmMain window(StartupContext::forApplication());  // the whole start-up, with the first load
  window.createLongLivedDialogs();
  window.show();
  return QApplication::exec();
}
