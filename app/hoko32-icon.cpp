// Writes the program's pictures for the packages:
//   hoko32-icon SIZE FILE          the icon, SIZE x SIZE (the desktop entry, the Windows icon)
//   hoko32-icon --installer FILE   the side picture of the Windows installer's pages (a BMP)
#include <QGuiApplication>

#include "ui/Pictures.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() != 3) return 2;
  if (arguments[1] == QStringLiteral("--installer"))
    return Pictures::installerPicture().toImage().convertToFormat(QImage::Format_RGB888).save(arguments[2], "BMP") ? 0
                                                                                                                   : 1;
  return Pictures::programIcon(arguments[1].toInt()).save(arguments[2]) ? 0 : 1;
}
