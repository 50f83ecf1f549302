// The viewer's start-up as a whole process, for timing from outside
// (farm-bench): it starts exactly as hoko32 does, on the record file and mode
// given, and ends as soon as the main window has been painted once.
//
//   QT_QPA_PLATFORM=offscreen hoko32_startup_probe RECORD_FILE [MODE]
#include <QApplication>
#include <QTimer>

#include <cstdio>

#include "ui/FontNames.h"
#include "ui/JapaneseTranslations.h"
#include "ui/MessageBoxes.h"
#include "ui/TfrmMain.h"

namespace {

// Ends the event loop after the first paint of the watched window.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("hoko32"));
  FontNames::installSubstitutions();
  JapaneseTranslations::install(app);
  MessageBoxes::setHandler([](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); });
  TfrmMain window(StartupContext::forApplication());
  window.createLongLivedDialogs();
  FirstPaint firstPaint;
  window.installEventFilter(&firstPaint);
  window.show();
  return QApplication::exec();
}
