// Writes the program's icon as a PNG for the desktop entry: hoko32-icon SIZE FILE
#include <QGuiApplication>

#include "ui/Pictures.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() != 3) return 2;
  return Pictures::programIcon(arguments[1].toInt()).save(arguments[2]) ? 0 : 1;
}
