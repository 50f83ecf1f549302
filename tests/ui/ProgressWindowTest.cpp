// The progress chart window offscreen: opened from the main window, the
// figures of the chosen range, zoom and Home, the picture it saves, and the
// time axis' labels.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRawFont>
#include <QRegularExpression>
#include <QTest>
#include <QToolTip>

#include <memory>
#include <utility>
#include <vector>

#include "progress/ProgressChartView.h"
#include "progress/ProgressWindow.h"
#include "progress/TimeAxis.h"
#include "settings/SettingsFile.h"
#include "support/Runs.h"
#include "support/TempDir.h"
#include "support/TypistFile.h"
#include "ui/FontNames.h"
#include "ui/MessageBoxes.h"
#include "ui/TfrmMain.h"

using namespace Qt::StringLiterals;

class ProgressWindowTest : public QObject {
  Q_OBJECT

  const QDate today{2026, 12, 7};
  RunList runs;
  std::vector<const PracticeRecord*> refs;

  static QString figure(const ProgressWindow& window, const QString& name) {
    return window.findChild<QLabel*>(name)->text();
  }

 private Q_SLOTS:
  void initTestCase() {
    FontNames::installSubstitutions();
    // Two romaji runs this week (one of them 6 days back, the week's first day),
    // one the day before the week, one a year and more ago, and a kana run.
    runs.add(makeRun(ModeRomaji, 2025, 6, 1, 150, 10))
        .add(makeRun(ModeRomaji, 2026, 11, 30, 200, 0))
        .add(makeRun(ModeKana, 2026, 12, 2, 999, 0))
        .add(makeRun(ModeRomaji, 2026, 12, 1, 300, 6, 21, 5, 13))
        .add(makeRun(ModeRomaji, 2026, 12, 7, 260, 0, 8));
    refs = runs.references();
  }

  void opensFromTheMainWindow() {
    MessageBoxes::setHandler([](const QString&) {});
    TempDir dir;
    writeTypistFile(dir, 300);
    TfrmMain main(
        StartupContext{dir.file(u"hoko32.ini"_s), dir.path() + u'/', dir.path(), {dir.file(u"typist.ｷﾛｸ"_s), u"R"_s}});
    main.createLongLivedDialogs();
    main.show();
    QAction* item = main.findChild<QAction*>(u"Progress1"_s);
    QCOMPARE(item->shortcut(), QKeySequence(u"Ctrl+P"_s));
    item->trigger();
    auto* window = main.findChild<ProgressWindow*>(u"frmProgress"_s);
    QVERIFY(window && window->isVisible() && !window->isModal());
    QCOMPARE(window->windowTitle(), u"進歩グラフ"_s);
    int romaji = 0;
    int withoutMiss = 0;
    for (const PracticeRecord* r : main.session().core().records().AllRecords) {
      romaji += r->Mode == ModeRomaji;
      withoutMiss += r->Mode == ModeRomaji && r->Misses == 0;
    }
    QCOMPARE(window->figures().runs, romaji);
    QVERIFY(romaji > withoutMiss);
    main.findChild<QAction*>(u"Nomiss1"_s)->trigger();  // followed while it is open
    QCOMPARE(window->figures().runs, withoutMiss);
    MessageBoxes::setHandler(nullptr);
  }

  void showsTheFiguresOfTheChosenRange() {
    ProgressWindow window(ProgressOptions{}, {});
    window.setRuns(refs, ModeRomaji, false, today);
    auto* ranges = window.findChild<QComboBox*>(u"cbRange"_s);
    struct Case {
      int range;
      QString runs, days, mean, best, missRate, change;
    };
    const Case cases[] = {
        {0, u"4"_s, u"4"_s, u"227.5"_s, u"300"_s, u"2.05%"_s, QString()},
        // This week: 300 (6/306 missed) and 260; the week before holds the 200 of 11/30.
        {5, u"2"_s, u"2"_s, u"280.0"_s, u"300"_s, u"0.98%"_s, u"前の期間より +40.0%"_s},
    };
    for (const Case& c : cases) {
      ranges->setCurrentIndex(c.range);
      QCOMPARE(figure(window, u"lblRuns"_s), c.runs);
      QCOMPARE(figure(window, u"lblPracticeDays"_s), c.days);
      QCOMPARE(figure(window, u"lblMeanHits"_s), c.mean);
      QCOMPARE(figure(window, u"lblBestHits"_s), c.best);
      QCOMPARE(figure(window, u"lblMeanMissRate"_s), c.missRate);
      QCOMPARE(figure(window, u"lblChange"_s), c.change);
      QCOMPARE(window.chart()->points().size(), std::size_t(c.runs.toInt()));
    }
    // No-miss leaves out the runs with a miss; another mean window changes the means only.
    ranges->setCurrentIndex(0);
    window.setRuns(refs, ModeRomaji, true, today);
    QCOMPARE(figure(window, u"lblRuns"_s), u"2"_s);
    window.findChild<QComboBox*>(u"cbWindow"_s)->setEditText(u"1"_s);
    QCOMPARE(window.meanWindow(), 1);
    QCOMPARE(window.chart()->points().back().meanHits, 260.0);
    // Every mode: the kana run without a miss joins them, and the choice is kept.
    window.findChild<QCheckBox*>(u"cbAllModes"_s)->setChecked(true);
    QCOMPARE(figure(window, u"lblRuns"_s), u"3"_s);
    QVERIFY(window.options().allModes);
  }

  // A range is a view of the one series: this week's runs keep the means and
  // the best of all the runs before them. With an era from 12/01 the week
  // before is not wholly inside it, so there is no change against it.
  void aRangeShowsTheMeansOfTheWholeSeriesWithinTheEra() {
    ProgressWindow window(ProgressOptions{}, {});
    window.setRuns(refs, ModeRomaji, false, today);
    window.findChild<QComboBox*>(u"cbRange"_s)->setCurrentIndex(int(ProgressRangeKind::OneWeek));
    const auto means = [&window] {
      std::vector<std::pair<double, int>> shown;
      for (const ProgressPoint& p : window.chart()->points()) shown.emplace_back(p.meanHits, p.bestSoFar);
      return shown;
    };
    // 150, 200, 300: 216.7; with 260: 227.5.
    QCOMPARE(means(), (std::vector<std::pair<double, int>>{{650.0 / 3, 300}, {227.5, 300}}));
    QCOMPARE(figure(window, u"lblChange"_s), u"前の期間より +40.0%"_s);

    EraDays era;
    era.first = static_cast<std::int32_t>(TimeAxis::dayCountOf({2026, 11, 30}));  // the week before: from 11/24
    std::vector<const PracticeRecord*> inEra;
    for (const PracticeRecord* r : refs)
      if (era.contains(r->Date)) inEra.push_back(r);
    window.setRuns(inEra, ModeRomaji, false, today, era);
    QCOMPARE(figure(window, u"lblChange"_s), QString());
    era.first = static_cast<std::int32_t>(TimeAxis::dayCountOf({2026, 11, 24}));
    window.setRuns(inEra, ModeRomaji, false, today, era);
    QCOMPARE(figure(window, u"lblChange"_s), u"前の期間より +40.0%"_s);
  }

  // A day of the settings file that its date fields cannot show is no day:
  // the window offers its own and hands back none of 1752/09/14.
  void aStoredDayTheDateFieldsCannotShowIsNoDay() {
    TempDir dir;
    dir.write(u"hoko32.ini"_s, "[Progress]\r\nRange=7\r\nFrom=0001/01/01\r\nTo=0001/01/01\r\n");
    SettingsFile settings(dir.file(u"hoko32.ini"_s));
    ProgressWindow window(&settings);
    window.setRuns(refs, ModeRomaji, false, today);
    const ProgressOptions handedBack = window.options();
    QCOMPARE(handedBack.to, QDate::currentDate());
    QCOMPARE(handedBack.from, QDate::currentDate().addMonths(-1).addDays(1));
  }

  void homeShowsTheWholeRangeAfterAZoom() {
    ProgressWindow window(ProgressOptions{}, {});
    window.setRuns(refs, ModeRomaji, false, today);
    window.resize(800, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ProgressChartView* chart = window.chart();
    const auto whole = chart->wholeRange();
    QVERIFY(whole.from < TimeAxis::dayCountOf({2025, 6, 1}) && whole.to > TimeAxis::dayCountOf(today));

    const QPoint middle = chart->rect().center();
    QWheelEvent wheel(middle, chart->mapToGlobal(middle), {}, {0, 360}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(chart, &wheel);
    const auto zoomed = chart->visibleRange();
    QVERIFY(zoomed.to - zoomed.from < (whole.to - whole.from) * 0.6);
    QVERIFY(zoomed.from > whole.from && zoomed.to < whole.to);

    QTest::keyClick(chart, Qt::Key_Home);
    QCOMPARE(chart->visibleRange(), whole);

    // A right-button drag zooms into the dragged stretch; a double-click goes back.
    QTest::mousePress(chart, Qt::RightButton, {}, middle);
    QTest::mouseMove(chart, middle + QPoint(40, 0));
    QTest::mouseRelease(chart, Qt::RightButton, {}, middle + QPoint(40, 0));
    QVERIFY(chart->visibleRange().to - chart->visibleRange().from < (whole.to - whole.from) / 5);
    QTest::mouseDClick(chart, Qt::LeftButton, {}, middle);
    QCOMPARE(chart->visibleRange(), whole);

    // The hint names the run under the cursor, with the mean of the runs up to it.
    const double day = TimeAxis::dayCountOf({2026, 12, 1});
    chart->setVisibleRange({day, day + 1});
    chart->repaint();
    QStringList hints;
    for (int x = 0; x < chart->width(); x += 4)
      if (const auto hint = chart->hintAt({x, chart->height() / 3})) hints << *hint;
    QVERIFY(!hints.isEmpty());
    for (const QString& hint : hints) QCOMPARE(hint, u"2026/12/01 21:05:13  打数 300  ミス 6  平均 216.7"_s);
  }

  // The hint and the change line mix Japanese with digits and signs: one font
  // draws all of them, not digits in one and words in another.
  void mixedTextsAreDrawnInOneFont() {
    ProgressWindow window(ProgressOptions{}, {});
    window.setRuns(refs, ModeRomaji, false, today);
    window.findChild<QComboBox*>(u"cbRange"_s)->setCurrentIndex(5);  // 1週間: a change against the week before
    window.resize(800, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ProgressChartView* chart = window.chart();
    const double day = TimeAxis::dayCountOf({2026, 12, 1});
    chart->setVisibleRange({day, day + 1});
    chart->repaint();
    std::optional<QPoint> near;
    for (int x = 0; x < chart->width() && !near; x += 4)
      if (chart->hintAt({x, chart->height() / 3})) near = QPoint(x, chart->height() / 3);
    QVERIFY(near);
    QHelpEvent help(QEvent::ToolTip, *near, chart->mapToGlobal(*near));
    QApplication::sendEvent(chart, &help);
    QVERIFY(QToolTip::isVisible());
    // The tip's font: the family its rich text names, else the tips' own.
    QFont tipFont = QToolTip::font();
    static const QRegularExpression family(u"font-family: '([^']+)'"_s);
    if (const auto named = family.match(QToolTip::text()); named.hasMatch()) tipFont.setFamilies({named.captured(1)});

    const auto* change = window.findChild<QLabel*>(u"lblChange"_s);
    const struct {
      const char* what;
      QFont font;
      QString text;
    } cases[] = {
        {"the change line", change->font(), change->text()},
        {"the hint", tipFont, *chart->hintAt(*near)},
    };
    for (const auto& c : cases) {
      QVERIFY2(c.text.contains(u'%') || c.text.contains(u':'), c.what);
      const QRawFont font = QRawFont::fromFont(c.font);
      for (const QChar ch : c.text)
        if (!ch.isSpace())
          QVERIFY2(font.supportsCharacter(ch),
                   qPrintable(QString::fromUtf8(c.what) + u": "_s + ch + u" in "_s + font.familyName()));
    }
    QToolTip::hideText();
  }

  // 平均の回数 refuses 0 and nothing: the box goes back to the runs in use.
  void refusedMeanRunsGoBackToTheRunsInUse() {
    ProgressWindow window(ProgressOptions{}, {});
    window.setRuns(refs, ModeRomaji, false, today);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* box = window.findChild<QComboBox*>(u"cbWindow"_s);
    const struct {
      QString typed;
      int window;
    } cases[] = {{u"0"_s, 10}, {u"25"_s, 25}, {u""_s, 25}, {u"00"_s, 25}, {u"3"_s, 3}};
    for (const auto& c : cases) {
      box->lineEdit()->selectAll();
      QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
      QTest::keyClicks(box->lineEdit(), c.typed);
      QTest::keyClick(box->lineEdit(), Qt::Key_Return);
      QCOMPARE(window.meanWindow(), c.window);
      QCOMPARE(box->currentText(), QString::number(c.window));
    }
  }

  // A range of days spans its days on the time axis, whatever days have runs;
  // the whole time and the newest runs span their runs.
  void theTimeAxisSpansTheChosenRange() {
    ProgressWindow window(ProgressOptions{}, {});
    window.setRuns(refs, ModeRomaji, false, today);
    auto* ranges = window.findChild<QComboBox*>(u"cbRange"_s);
    ranges->setCurrentIndex(5);  // 1週間: its seven days, whatever days have runs
    QCOMPARE(window.chart()->wholeRange(),
             (ProgressChartView::TimeRange{TimeAxis::dayCountOf({2026, 12, 1}), TimeAxis::dayCountOf(today) + 1}));
    for (const int runs : {0, 6}) {  // 全期間, 直近 N 回: the runs' span
      ranges->setCurrentIndex(runs);
      const auto whole = window.chart()->wholeRange();
      const auto& points = window.chart()->points();
      QVERIFY(!points.empty());
      QVERIFY(whole.from < points.front().run.when() && whole.from > points.front().run.when() - 30);
      QVERIFY(whole.to > points.back().run.when() && whole.to < points.back().run.when() + 30);
    }
    // Two days chosen the wrong way round span the same days.
    ranges->setCurrentIndex(7);
    window.findChild<QDateEdit*>(u"dtFrom"_s)->setDate({2026, 12, 5});
    window.findChild<QDateEdit*>(u"dtTo"_s)->setDate({2026, 11, 20});
    QCOMPARE(window.chart()->wholeRange(),
             (ProgressChartView::TimeRange{TimeAxis::dayCountOf({2026, 11, 20}), TimeAxis::dayCountOf({2026, 12, 6})}));
  }

  void savesThePictureOfTheChart() {
    ProgressWindow window(ProgressOptions{}, {});
    window.setRuns(refs, ModeRomaji, false, today);
    window.resize(700, 450);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TempDir dir;
    const QString path = dir.file(u"chart.png"_s);
    QVERIFY(window.savePicture(path));
    const QImage saved(path, "PNG");
    QVERIFY(!saved.isNull());
    QCOMPARE(saved.width(), window.chart()->width());
    QVERIFY(saved.height() > window.chart()->height());  // with the title above the chart
    // Something is drawn on the background: the runs, lines and labels.
    const QRgb background = saved.pixel(0, 0);
    int drawn = 0;
    for (int y = 0; y < saved.height(); y += 2)
      for (int x = 0; x < saved.width(); x += 2) drawn += saved.pixel(x, y) != background;
    QVERIFY(drawn > 500);
  }

  // The saved picture names what it shows: the mode, the range, the era and
  // the record file, drawn above the chart and kept as the PNG's title.
  void thePictureCarriesItsTitle() {
    ProgressWindow window(ProgressOptions{}, {});
    window.setSource(u"練習.ｷﾛｸ"_s, u"2026/01/01 以降"_s);
    window.setRuns(refs, ModeRomaji, true, today);
    window.resize(700, 450);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* ranges = window.findChild<QComboBox*>(u"cbRange"_s);
    const struct {
      int range;
      QString title;
    } cases[] = {
        {6, u"ローマ字（ノーミスのみ） ・ 直近 100 回 ・ 2026/01/01 以降 ・ 練習.ｷﾛｸ"_s},
        {7, u"ローマ字（ノーミスのみ） ・ 2026/11/20 ～ 2026/12/05 ・ 2026/01/01 以降 ・ 練習.ｷﾛｸ"_s},
    };
    window.findChild<QDateEdit*>(u"dtFrom"_s)->setDate({2026, 12, 5});  // the wrong way round: the same days
    window.findChild<QDateEdit*>(u"dtTo"_s)->setDate({2026, 11, 20});
    TempDir dir;
    for (const auto& c : cases) {
      ranges->setCurrentIndex(c.range);
      QCOMPARE(window.pictureTitle(), c.title);
    }
    QVERIFY(window.savePicture(dir.file(u"chart.png"_s)));
    const QImage saved(dir.file(u"chart.png"_s), "PNG");
    QCOMPARE(saved.text(u"Title"_s), cases[1].title);
    // Drawn: the band above the chart is not all background.
    int drawn = 0;
    for (int y = 0; y < saved.height() - window.chart()->height(); ++y)
      for (int x = 0; x < saved.width(); ++x) drawn += saved.pixel(x, y) != saved.pixel(0, 0);
    QVERIFY(drawn > 50);
    // Without an era and a file name the title is the mode and the range.
    window.setSource({}, {});
    ranges->setCurrentIndex(0);
    QCOMPARE(window.pictureTitle(), u"ローマ字（ノーミスのみ） ・ 全期間"_s);
    QCOMPARE(window.windowTitle(), u"進歩グラフ"_s);
  }

  void labelsTheTimeAxisByTheSpan() {
    const double day = TimeAxis::dayCountOf(today);
    struct Case {
      double from, to;
      QString first;
    };
    const Case cases[] = {
        {day - 3000, day, u"2019年"_s},  // years
        {day - 200, day, u"6月"_s},      // months, from 2026/05/21
        {day - 10, day, u"2026/11/27"_s},
        {day + 0.5, day + 0.75, u"12:00"_s},
    };
    for (const Case& c : cases) {
      const auto ticks = TimeAxis::ticks(c.from, c.to, 800, 80, 30, 50, 40);
      QVERIFY(!ticks.empty());
      QCOMPARE(ticks.front().label, c.first);
      QVERIFY(int(ticks.size()) <= 800 / 30);
      for (const TimeAxis::Tick& tick : ticks) QVERIFY(tick.at >= c.from && tick.at <= c.to);
    }
  }
};

QTEST_MAIN(ProgressWindowTest)
#include "ProgressWindowTest.moc"
