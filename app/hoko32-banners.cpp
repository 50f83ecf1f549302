// Writes the celebration banner's pictures into a folder: hoko32-banners FOLDER
#include <QDir>
#include <QGuiApplication>

#include "ui/BannerPictures.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() != 2 || !QDir().mkpath(arguments[1])) return 2;
  for (int number = 1; number <= BannerPictures::Count; ++number)
    if (!BannerPictures::picture(number).save(QDir(arguments[1]).filePath(BannerPictures::fileName(number)), "BMP"))
      return 1;
  return 0;
}
