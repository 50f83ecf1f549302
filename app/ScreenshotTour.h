#pragma once

#include <QString>

class QWidget;
class TfrmMain;

// Opens the main window on a record file and saves a PNG of every tab and
// dialog into a folder: the pictures of the README, made by scripts/screenshots.
class ScreenshotTour {
 public:
  ScreenshotTour(QString recordFile, QString folder);

  int run();

 private:
  void save(QWidget* widget, const QString& name);
  void saveBanners(TfrmMain& window);
  void saveCharts(TfrmMain& window);
  void saveLiveReload(TfrmMain& window);
  void saveCalendar(TfrmMain& window);
  void saveProgress(TfrmMain& window);
  void saveEra(TfrmMain& window);

  QString recordFile_;
  QString folder_;
  int saved_ = 0;
};
