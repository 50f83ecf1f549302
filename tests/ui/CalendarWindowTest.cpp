// The practice calendar as a user meets it, offscreen: opened from the main
// window, its figures, a day's hint and runs, the mode it follows, what it
// keeps in the settings file; and the heat map drawn into an image.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <map>
#include <memory>

#include "analysis/PracticeCalendar.h"
#include "calendar/CalendarColors.h"
#include "calendar/CalendarLayout.h"
#include "calendar/CalendarMapView.h"
#include "calendar/CalendarRenderer.h"
#include "calendar/PracticeCalendarWindow.h"
#include "records/Taprec.h"
#include "settings/SettingsFile.h"
#include "support/RecordLines.h"
#include "support/TempDir.h"
#include "support/TypistFile.h"
#include "ui/FontNames.h"
#include "ui/MessageBoxes.h"
#include "ui/TfrmMain.h"

using namespace Qt::StringLiterals;

class CalendarWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempDir> dir;

  std::unique_ptr<TfrmMain> start() {
    auto window = std::make_unique<TfrmMain>(StartupContext{
        dir->file(u"hoko32.ini"_s), dir->path() + u'/', dir->path(), {dir->file(u"typist.ｷﾛｸ"_s), u"R"_s}});
    window->createLongLivedDialogs();
    return window;
  }
  static PracticeCalendarWindow* openCalendar(TfrmMain& window) {
    window.findChild<QAction*>(u"Calendar1"_s)->trigger();
    return window.findChild<PracticeCalendarWindow*>(u"frmCalendar"_s);
  }
  // Runs per day of a mode (or of all), counted here from the loaded runs.
  static std::map<QDate, int> runsPerDay(const TfrmMain& window, std::optional<PracticeMode> mode) {
    std::map<QDate, int> days;
    for (const PracticeRecord* r : window.session().core().records().AllRecords)
      if (!mode || r->Mode == *mode) ++days[QDate(r->Year, r->Month, r->Day)];
    return days;
  }
  static int total(const std::map<QDate, int>& days) {
    int n = 0;
    for (const auto& [date, runs] : days) n += runs;
    return n;
  }
  static QString figures(const PracticeCalendarWindow& calendar) {
    return calendar.findChild<QLabel*>(u"lblFigures"_s)->text();
  }

 private Q_SLOTS:
  void initTestCase() { FontNames::installSubstitutions(); }
  void init() {
    dir = std::make_unique<TempDir>();
    MessageBoxes::setHandler([](const QString&) {});
    writeTypistFile(*dir, 900);
  }
  void cleanup() { MessageBoxes::setHandler(nullptr); }

  void opensBesideTheMainWindowAndFollowsItsMode() {
    auto window = start();
    window->show();
    PracticeCalendarWindow* calendar = openCalendar(*window);
    QVERIFY(calendar);
    QVERIFY(calendar->isVisible());
    QVERIFY(!calendar->isModal());
    QCOMPARE(calendar->windowTitle(), u"練習カレンダー"_s);
    QVERIFY(window->findChild<QToolButton*>(u"CalendarButton"_s));
    QCOMPARE(window->findChild<QAction*>(u"Calendar1"_s)->shortcut(), QKeySequence(u"Ctrl+Y"_s));

    const auto romaji = runsPerDay(*window, ModeRomaji);
    QVERIFY(figures(*calendar).startsWith(u"<<ローマ字の練習カレンダー"_s));
    QVERIFY2(figures(*calendar).contains(u"総練習回数: %1回"_s.arg(total(romaji))), qPrintable(figures(*calendar)));
    QVERIFY(figures(*calendar).contains(u"練習日数: %1日"_s.arg(romaji.size())));

    window->findChild<QToolButton*>(u"ButtonA"_s)->click();  // the main window's mode
    const auto alphabet = runsPerDay(*window, ModeAlphabet);
    QVERIFY(figures(*calendar).startsWith(u"<<英字の練習カレンダー"_s));
    QVERIFY(figures(*calendar).contains(u"総練習回数: %1回"_s.arg(total(alphabet))));

    calendar->findChild<QComboBox*>(u"cbModes"_s)->setCurrentIndex(1);  // every mode
    QVERIFY(figures(*calendar).contains(u"すべてのモード"_s));
    QVERIFY(figures(*calendar).contains(u"総練習回数: 900回"_s));

    // Runs appended by TAPPER show here too.
    QFile record(dir->file(u"typist.ｷﾛｸ"_s));
    QVERIFY(record.open(QIODevice::Append));
    record.write(QByteArray::fromStdString(recordLine(ModeKana, 2024, 7, 1, 9, 0, 0, 120, 3)));
    record.close();
    QTRY_VERIFY_WITH_TIMEOUT(figures(*calendar).contains(u"総練習回数: 901回"_s), 2000);
  }

  void aDaysHintAndRunsAndTheirCopy() {
    auto window = start();
    window->show();
    PracticeCalendarWindow* calendar = openCalendar(*window);
    QVERIFY(QTest::qWaitForWindowExposed(calendar));
    auto* map = calendar->findChild<CalendarMapView*>();
    const auto romaji = runsPerDay(*window, ModeRomaji);
    const auto& [day, runs] = *romaji.rbegin();  // the newest year is on top, in view

    const QPoint at = map->layout().squareRect(day).center();
    QHelpEvent hint(QEvent::ToolTip, at, map->mapToGlobal(at));
    QApplication::sendEvent(map, &hint);
    QTRY_VERIFY(QToolTip::isVisible());
    QVERIFY(QToolTip::text().startsWith(day.toString(u"yyyy-MM-dd"_s)));
    QVERIFY2(QToolTip::text().contains(u"練習回数: %1回"_s.arg(runs)), qPrintable(QToolTip::text()));
    QToolTip::hideText();

    QTest::mouseClick(map, Qt::LeftButton, {}, at);
    auto* list = calendar->findChild<QListWidget*>(u"lbDayRuns"_s);
    QCOMPARE(list->count(), runs);
    QVERIFY(list->item(0)->text().contains(u"ローマ字"_s));
    QVERIFY(calendar->findChild<QLabel*>(u"lblDay"_s)->text().startsWith(day.toString(u"yyyy-MM-dd"_s)));

    QGuiApplication::clipboard()->clear();
    const QPoint item = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item);
    const QStringList copied = QGuiApplication::clipboard()->text().split(u"\r\n"_s, Qt::SkipEmptyParts);
    QCOMPARE(copied.size(), runs + 1);  // the day's line, then its runs
    QCOMPARE(copied.last(), list->item(runs - 1)->text());

    // Between two squares nothing is clicked.
    const QRect square = map->layout().squareRect(day);
    QTest::mouseClick(map, Qt::LeftButton, {}, square.topRight() + QPoint(1, 0));
    QCOMPARE(list->count(), runs);
  }

  // Its place and size are kept by its shell (tests/widgets/SideWindowTest.cpp).
  void keepsItsModeChoiceInTheSettingsFile() {
    {
      auto window = start();
      PracticeCalendarWindow* calendar = openCalendar(*window);
      calendar->findChild<QComboBox*>(u"cbModes"_s)->setCurrentIndex(1);
      QVERIFY(calendar->options().allModes);
      calendar->close();
    }
    SettingsFile settings(dir->file(u"hoko32.ini"_s));
    QCOMPARE(settings.readInteger(u"Calendar"_s, u"AllModes"_s, -1), 1);
    auto window = start();
    PracticeCalendarWindow* calendar = openCalendar(*window);
    QVERIFY(calendar->allModes());
  }

  // A day's runs line up in the history pane's font, as the settings file has it.
  void aDaysRunsAreListedInThePaneFont() {
    SettingsFile settings(dir->file(u"hoko32.ini"_s));
    QVERIFY(settings.writeText(u"Font"_s, u"FontName"_s, u"IPAMincho"_s) &&
            settings.writeInteger(u"Font"_s, u"Size"_s, 13));
    auto window = start();
    const QFont listed = openCalendar(*window)->findChild<QListWidget*>(u"lbDayRuns"_s)->font();
    QCOMPARE(listed.family(), u"IPAMincho"_s);
    QCOMPARE(listed.pointSize(), 13);
  }

  // At twice the pixels per point (checked in a child run so) the default
  // size still shows a whole year within the screen.
  void aWholeYearShowsAtTwiceTheScale() {
    if (qEnvironmentVariable("QT_SCALE_FACTOR") != u"2"_s) {
      TempDir config;
      QProcess child;
      QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
      environment.insert(u"QT_SCALE_FACTOR"_s, u"2"_s);
      environment.insert(
          u"QT_QPA_PLATFORM"_s,
          u"offscreen:configfile="_s + config.write(u"s.json"_s, R"({"screens": [{"width": 1280, "height": 1024}]})"));
      child.setProcessEnvironment(environment);
      child.start(QCoreApplication::applicationFilePath(), {u"aWholeYearShowsAtTwiceTheScale"_s});
      QVERIFY(child.waitForFinished(60000));
      QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
      return;
    }
    auto window = start();
    window->show();
    PracticeCalendarWindow* calendar = openCalendar(*window);
    QVERIFY(QTest::qWaitForWindowExposed(calendar));
    QCOMPARE(calendar->screen()->availableGeometry(), QRect(0, 0, 640, 512));
    QVERIFY(calendar->screen()->availableGeometry().contains(calendar->frameGeometry()));
    const auto* map = calendar->findChild<CalendarMapView*>();
    const QWidget* shown = calendar->findChild<QScrollArea*>()->viewport();
    QCOMPARE_GE(shown->width(), map->width());
    QCOMPARE_GE(shown->height(), map->layout().blockRect(map->layout().lastYear()).bottom() + 1);
  }

  // A place and size stored at 100 % and opened at 150 % (checked in a child
  // run so): 1000 pixels from y=534 on a 1024-pixel screen is now beyond its
  // bottom; the calendar comes inside the screen, its day list with it.
  void aPlaceStoredAtAnotherScaleIsFittedOnTheScreen() {
    if (qEnvironmentVariable("QT_SCALE_FACTOR") != u"1.5"_s) {
      TempDir config;
      QProcess child;
      QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
      environment.insert(u"QT_SCALE_FACTOR"_s, u"1.5"_s);
      environment.insert(
          u"QT_QPA_PLATFORM"_s,
          u"offscreen:configfile="_s + config.write(u"s.json"_s, R"({"screens": [{"width": 1280, "height": 1024}]})"));
      child.setProcessEnvironment(environment);
      child.start(QCoreApplication::applicationFilePath(), {u"aPlaceStoredAtAnotherScaleIsFittedOnTheScreen"_s});
      QVERIFY(child.waitForFinished(60000));
      QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
      return;
    }
    dir->write(u"hoko32.ini"_s, "[Calendar]\r\nLeft=40\r\nTop=534\r\nWidth=700\r\nHeight=1000\r\n");
    auto window = start();
    window->show();
    PracticeCalendarWindow* calendar = openCalendar(*window);
    QVERIFY(QTest::qWaitForWindowExposed(calendar));
    const QRect area = calendar->screen()->availableGeometry();
    QCOMPARE_LT(area.height(), 1000);
    QCOMPARE(area.united(calendar->frameGeometry()), area);  // inside the area
    QCOMPARE(calendar->width(), 700);                        // it fits: kept
    const auto* list = calendar->findChild<QListWidget*>(u"lbDayRuns"_s);
    QCOMPARE(area.united(QRect(list->mapToGlobal(QPoint(0, 0)), list->size())), area);
  }

  // The map drawn into an image: each day in the colour of its step, a dot on
  // a personal best, nothing on the other days; in a light and a dark palette.
  void theHeatMapPaintsEachDayInItsStep() {
    std::vector<PracticeRecord> store;
    const auto add = [&store](int month, int day, int hits) {
      PracticeRecord r;
      ParseRecordLine(recordLine(ModeRomaji, 2024, month, day, 9, 0, 0, hits, 1).substr(0, 44), r);
      store.push_back(r);
    };
    add(3, 1, 200);                              // a personal best, one run
    for (int i = 0; i < 8; ++i) add(3, 2, 100);  // the busiest day, no record
    add(3, 3, 150);
    add(3, 4, 120);
    std::vector<const PracticeRecord*> runs;
    for (const PracticeRecord& r : store) runs.push_back(&r);
    const PracticeCalendar calendar = PracticeCalendar::build(runs, ModeRomaji, QDate(2024, 3, 10));
    const CalendarLayout layout(2024, 2024, CalendarLayout::Metrics::forLineHeight(16));

    QPalette light = QApplication::palette();
    light.setColor(QPalette::Window, Qt::white);
    light.setColor(QPalette::WindowText, Qt::black);
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, Qt::white);
    for (const QPalette& palette : {light, dark}) {
      const CalendarColors colors = CalendarColors::forPalette(palette);
      QImage image(layout.size(), QImage::Format_RGB32);
      image.fill(palette.color(QPalette::Window));
      QPainter painter(&image);
      CalendarRenderer::paint(painter, layout, calendar, colors, QApplication::font(), image.rect());
      painter.end();
      const auto colorAt = [&](QDate date, QPoint offset = {1, 1}) {
        return image.pixelColor(layout.squareRect(date).topLeft() + offset);
      };
      QCOMPARE(colorAt(QDate(2024, 3, 5)), colors.levels[0]);  // no practice
      QCOMPARE(colorAt(QDate(2024, 3, 2)), colors.levels[4]);  // the busiest
      QCOMPARE(colorAt(QDate(2024, 3, 1)), colors.levels[std::size_t(calendar.level(1))]);
      QCOMPARE(image.pixelColor(layout.squareRect(QDate(2024, 3, 1)).center()), colors.personalBest);
      QVERIFY(image.pixelColor(layout.squareRect(QDate(2024, 3, 2)).center()) != colors.personalBest);
      // Each step stands apart from the next and from the background.
      for (std::size_t level = 0; level + 1 < colors.levels.size(); ++level)
        QVERIFY(colors.levels[level] != colors.levels[level + 1]);
      QVERIFY(colors.levels[0] != palette.color(QPalette::Window));
    }
    QVERIFY(CalendarColors::forPalette(light).levels[0] != CalendarColors::forPalette(dark).levels[0]);
  }
};

QTEST_MAIN(CalendarWindowTest)
#include "CalendarWindowTest.moc"
