#include "app/ScreenshotTour.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <functional>

#include "calendar/CalendarMapView.h"
#include "calendar/PracticeCalendarWindow.h"
#include "celebration/TfrmOiwai.h"
#include "chart3d/Chart3DView.h"
#include "chart3d/Tfrm3DGraph.h"
#include "era/EraDialog.h"
#include "export/ExportDialog.h"
#include "progress/ProgressWindow.h"
#include "settings/Options.h"
#include "settings/SettingsLocation.h"
#include "tools/RecordFileGenerator.h"
#include "ui/HelpSystem.h"
#include "ui/MessageBoxes.h"
#include "ui/TAboutBox.h"
#include "ui/TfrmAverCfg.h"
#include "ui/TfrmColor.h"
#include "ui/TfrmGChar.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmOpening.h"
#include "ui/TfrmRecent.h"

using namespace Qt::StringLiterals;

ScreenshotTour::ScreenshotTour(QString recordFile, QString folder)
    : recordFile_(std::move(recordFile)), folder_(std::move(folder)) {}

void ScreenshotTour::save(QWidget* widget, const QString& name) {
  widget->show();
  widget->raise();
  QEventLoop settle;  // let the window lay out and paint
  QTimer::singleShot(150, &settle, &QEventLoop::quit);
  settle.exec();
  const QString path = QDir(folder_).filePath(name + u".png"_s);
  if (widget->grab().save(path)) ++saved_;
  std::printf("%s\n", qPrintable(path));
}

// Each animation's settled frame, and the picture grown over the banner.
void ScreenshotTour::saveBanners(TfrmMain& window) {
  // The celebration as the settings file has it: the defaults, in the tour's fresh folder.
  const MainOptions celebration = MainOptions::load(*window.settingsFile(), {1024, 768, QString()});
  const auto waitUntil = [](const std::function<bool()>& done) {
    for (int i = 0; i < 1000 && !done(); ++i) {
      QEventLoop tick;
      QTimer::singleShot(5, &tick, &QEventLoop::quit);
      tick.exec();
    }
  };
  for (int kind = 1; kind <= 5; ++kind) {
    TfrmOiwai banner(SettingsLocation::folderOf(QCoreApplication::applicationFilePath()), *window.settingsFile(),
                     &window, static_cast<celebration::AnimationKind>(kind));
    banner.RecordLine = celebration::BannerAnimation::recordLineText(u"ローマ字"_s, 416);
    banner.MessageLine = celebration.oiwaiMessage;
    banner.bannerFont = QFont(celebration.oiwaiFontName, celebration.oiwaiFontSize);
    banner.bannerFontColor = Qt::white;
    banner.show();
    waitUntil([&banner] { return banner.animation().phase() == celebration::BannerAnimation::Phase::Second; });
    banner.canvas().save(QDir(folder_).filePath(u"banner-kind-%1.png"_s.arg(kind)));
    ++saved_;
    if (kind == 5) {
      waitUntil([&banner] { return banner.animation().tick() >= 100; });
      banner.canvas().save(QDir(folder_).filePath(u"banner-picture.png"_s));
      ++saved_;
    }
    banner.close();
  }
}

// The 3D chart window on the history and average tabs, each bar style, flat,
// without marks and legend, and zoomed.
void ScreenshotTour::saveCharts(TfrmMain& window) {
  const auto shot = [this, &window](int tab, const QString& name, const std::function<void(Tfrm3DGraph&)>& setUp) {
    window.findChild<QTabWidget*>(u"PageControl1"_s)->setCurrentIndex(tab);
    Tfrm3DGraph chart(window.settingsFile(), window.session().chartInput(View(tab)), &window);
    chart.resize(900, 560);
    chart.show();
    setUp(chart);
    save(&chart, name);
    chart.close();
  };
  const auto options = [](bool threeD, bool marks, bool legend) {
    return [=](Tfrm3DGraph& chart) {
      chart.coBarStyle->setCurrentIndex(0);
      chart.coBarStyleChange();
      // The menu items toggle as a click would.
      if (chart.cb3D->isChecked() != threeD) chart.cb3D->trigger();
      if (chart.cbMarker->isChecked() != marks) chart.cbMarker->trigger();
      if (chart.cbLegend->isChecked() != legend) chart.cbLegend->trigger();
    };
  };
  shot(ViewHistory, u"chart-history"_s, options(true, true, true));
  shot(ViewAverage, u"chart-average"_s, options(true, true, true));
  for (int style = 0; style < 7; ++style)
    shot(ViewHistory, u"chart-style-%1"_s.arg(style), [style, options](Tfrm3DGraph& chart) {
      options(true, true, true)(chart);
      chart.coBarStyle->setCurrentIndex(style);
      chart.coBarStyleChange();
    });
  shot(ViewHistory, u"chart-flat"_s, options(false, true, true));
  shot(ViewHistory, u"chart-no-marks-no-legend"_s, options(true, false, false));
  shot(ViewHistory, u"chart-zoomed"_s, [options](Tfrm3DGraph& chart) {
    options(true, true, true)(chart);
    const QRect area = chart.MinChart->rect();
    chart.MinChart->zoomToPixels(QRect(area.width() / 3, area.height() / 4, area.width() / 3, area.height() / 2));
    QEventLoop animation;
    QTimer::singleShot(500, &animation, &QEventLoop::quit);
    animation.exec();
  });
  window.findChild<QTabWidget*>(u"PageControl1"_s)->setCurrentIndex(ViewHistory);
}

// The history after TAPPER has appended a new record: the viewer reads it by
// itself. The run is dated the day after the file's newest, so no banner shows.
void ScreenshotTour::saveLiveReload(TfrmMain& window) {
  const ViewerCore& viewer = window.session().core();
  if (viewer.records().AllRecords.empty()) return;
  const PracticeRecord& newest = *viewer.records().AllRecords.back();
  const QDate next = QDate(newest.Year, newest.Month, newest.Day).addDays(1);
  GeneratedRun run;
  run.mode = ModeRomaji;
  run.date = {next.year(), next.month(), next.day()};
  run.time = {7, 30, 12};
  run.hits = viewer.modePass().best + 4;
  run.misses = 2;
  const std::string line = formatRecordLine(run);
  QFile file(recordFile_);
  if (!file.open(QIODevice::Append) || file.write(line.data(), qint64(line.size())) != qint64(line.size())) return;
  file.close();
  const std::size_t before = viewer.records().AllRecords.size();
  for (int i = 0; i < 300 && viewer.records().AllRecords.size() == before; ++i) {
    QEventLoop tick;
    QTimer::singleShot(10, &tick, &QEventLoop::quit);
    tick.exec();
  }
  window.findChild<QTabWidget*>(u"PageControl1"_s)->setCurrentIndex(ViewHistory);
  save(&window, u"live-reload"_s);
}

// The practice calendar on the sample, a day of it clicked.
void ScreenshotTour::saveCalendar(TfrmMain& window) {
  window.findChild<QAction*>(u"Calendar1"_s)->trigger();
  auto* calendar = window.findChild<PracticeCalendarWindow*>();
  if (!calendar) return;
  calendar->resize(calendar->calendarWidth(), 640);
  const std::vector<PracticeDay>& days = calendar->calendar().days();
  if (auto* map = calendar->findChild<CalendarMapView*>(); map && !days.empty()) {
    const QDate busiest = calendar->calendar().busiestDay()->date;
    Q_EMIT map->dayClicked(busiest);  // as a click on its square
  }
  save(calendar, u"calendar"_s);
  calendar->close();
}

// The progress chart over all time, the last year and the last week of the
// sample, counted back from the sample's newest day rather than from today.
void ScreenshotTour::saveProgress(TfrmMain& window) {
  window.findChild<QAction*>(u"Progress1"_s)->trigger();
  auto* progress = window.findChild<ProgressWindow*>();
  if (!progress) return;
  const auto runs = window.session().core().runsInView().runs;
  if (runs.empty()) return;
  const PracticeRecord& newest = *runs.back();
  progress->resize(1000, 640);
  progress->setRuns(runs, ModeRomaji, false, QDate(newest.Year, newest.Month, newest.Day));
  auto* ranges = progress->findChild<QComboBox*>(u"cbRange"_s);
  const std::pair<ProgressRangeKind, QString> shots[] = {{ProgressRangeKind::All, u"progress-all"_s},
                                                         {ProgressRangeKind::OneYear, u"progress-year"_s},
                                                         {ProgressRangeKind::OneWeek, u"progress-week"_s}};
  for (const auto& [kind, name] : shots) {
    ranges->setCurrentIndex(static_cast<int>(kind));
    save(progress, name);
  }
  ranges->setCurrentIndex(static_cast<int>(ProgressRangeKind::All));
  progress->close();
}

// The history counted from a day on: the era's dialog, then the pane under it.
void ScreenshotTour::saveEra(TfrmMain& window) {
  QTimer::singleShot(300, [this] {
    auto* dialog = qobject_cast<EraDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialog->FromCheck->setChecked(true);
    dialog->FromDate->setDate(QDate(2024, 1, 1));
    save(dialog, u"dialog-era"_s);
    dialog->accept();
  });
  window.findChild<QAction*>(u"Era1"_s)->trigger();
  window.findChild<QTabWidget*>(u"PageControl1"_s)->setCurrentIndex(ViewHistory);
  save(&window, u"tab-history-era"_s);
}

int ScreenshotTour::run() {
  QDir().mkpath(folder_);
  MessageBoxes::setHandler([](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); });
  const QFileInfo record(recordFile_);
  StartupContext context{record.absolutePath() + u"/hoko32.ini"_s,
                         record.absolutePath() + u'/',
                         record.absolutePath(),
                         {record.absoluteFilePath(), u"R"_s}};
  TfrmMain window(context);
  window.createLongLivedDialogs();
  window.resize(1000, 640);
  window.show();
  auto* pages = window.findChild<QTabWidget*>(u"PageControl1"_s);
  for (const ViewInfo& view : Views) {
    pages->setCurrentIndex(view.view);
    save(&window, u"tab-"_s + view.name.toString());
  }
  pages->setCurrentIndex(ViewHistory);

  TfrmOpening loading;
  loading.Label1->setText(u"ﾌｧｲﾙ読み込み中..."_s);
  save(&loading, u"loading"_s);
  loading.hide();
  save(window.findChild<TfrmGChar*>(), u"dialog-graph-characters"_s);
  save(window.findChild<TfrmRecent*>(), u"dialog-display-count"_s);
  save(window.findChild<TfrmAverCfg*>(), u"dialog-average-settings"_s);
  auto* palette = window.findChild<TfrmColor*>();
  palette->setPreviewColors(Qt::white, Qt::black);
  save(palette, u"dialog-palette-16"_s);
  palette->setColorType(1);
  save(palette, u"dialog-palette-64"_s);
  palette->setColorType(2);
  save(palette, u"dialog-palette-125"_s);
  save(window.findChild<TAboutBox*>(), u"dialog-about"_s);
  ExportDialog exportChoice(pages->tabText(ViewHistory), &window);
  save(&exportChoice, u"dialog-export"_s);
  exportChoice.hide();
  saveLiveReload(window);
  saveCalendar(window);
  saveProgress(window);
  saveCharts(window);
  saveBanners(window);
  window.help()->showContents();
  if (QWidget* help = window.help()->window()) save(help, u"help"_s);
  saveEra(window);  // last: the era stays in this tour's settings file
  window.close();
  return saved_ > 0 ? 0 : 1;
}
