// The viewer follows its record file while it is open, driven offscreen with
// the real file watch: appended runs show in the active pane, a line caught
// half written waits for its end, a record of today is celebrated once, the
// option turns it all off, a replaced file is loaded anew, and the progress
// chart follows.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <memory>

#include "celebration/TfrmOiwai.h"
#include "progress/ProgressChartView.h"
#include "progress/ProgressWindow.h"
#include "records/DayCount.h"
#include "settings/SettingsFile.h"
#include "support/MainWindowFixture.h"
#include "support/ModalDialogs.h"
#include "support/TempDir.h"
#include "support/TypistFile.h"
#include "tools/RecordFileGenerator.h"
#include "ui/FontNames.h"
#include "ui/MessageBoxes.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmRecent.h"
#include "viewer/RecordFileWatcher.h"

using namespace Qt::StringLiterals;

namespace {

// A romaji run on the day given, at the time given.
std::string romajiRun(const QDate& day, int hour, int hits, int misses = 3) {
  GeneratedRun run;
  run.mode = ModeRomaji;
  run.date = {day.year(), day.month(), day.day()};
  run.time = {hour, 0, 0};
  run.hits = hits;
  run.misses = misses;
  return formatRecordLine(run);
}

}  // namespace

class LiveReloadTest : public QObject, private MainWindowFixture {
  Q_OBJECT

 private:
  QString recordFile;

  std::unique_ptr<TfrmMain> start() const { return MainWindowFixture::start({recordFile, u"R"_s}); }
  void append(const std::string& bytes) const {
    QFile file(recordFile);
    QVERIFY(file.open(QIODevice::Append));
    QCOMPARE(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
  }
  static QPlainTextEdit* memo(const TfrmMain& w, int tab) {
    return w.findChild<QPlainTextEdit*>(u"Memo"_s + QString::number(tab + 1));
  }
  static std::size_t runs(const TfrmMain& w) { return w.session().core().records().AllRecords.size(); }
  // The history pane's first line with a date: the newest record shown.
  static QString newestHistoryLine(const TfrmMain& w) {
    const QStringList lines = memo(w, ViewHistory)->toPlainText().split(u'\n');
    return lines.value(3);
  }
  int bestHits(const TfrmMain& w) const { return w.session().core().modePass().best; }

 private Q_SLOTS:
  void initTestCase() { FontNames::installSubstitutions(); }

  void init() {
    setUpWindowFolder();
    recordFile = writeTypistFile(*dir, 900);
  }

  void cleanup() { tearDownWindowFolder(); }

  void appendedRunsShowInTheActivePaneWithinASecond() {
    auto window = start();
    window->resize(360, 300);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QPlainTextEdit* history = memo(*window, ViewHistory);
    history->verticalScrollBar()->setValue(5);
    history->horizontalScrollBar()->setValue(40);
    QCOMPARE(history->verticalScrollBar()->value(), 5);
    QCOMPARE(history->horizontalScrollBar()->value(), 40);
    window->findChild<QTabWidget*>(u"PageControl1"_s)->setCurrentIndex(ViewAverage);
    window->findChild<QTabWidget*>(u"PageControl1"_s)->setCurrentIndex(ViewHistory);
    const std::size_t before = runs(*window);
    const int best = bestHits(*window);

    append(romajiRun(QDate(2024, 7, 1), 9, best + 1));
    QTRY_COMPARE_WITH_TIMEOUT(runs(*window), before + 1, 1000);
    QTRY_VERIFY_WITH_TIMEOUT(newestHistoryLine(*window).startsWith(u"2024-07-01"_s), 1000);
    QVERIFY(newestHistoryLine(*window).contains(u"Hit: %1"_s.arg(best + 1)));
    QCOMPARE(window->findChild<QTabWidget*>(u"PageControl1"_s)->currentIndex(), int(ViewHistory));
    QCOMPARE(window->session().core().settings().mode, ModeRomaji);
    QCOMPARE(history->verticalScrollBar()->value(), 5);            // where the user left it
    QVERIFY(memo(*window, ViewAverage)->toPlainText().isEmpty());  // computed when shown
    QCOMPARE(window->session().core().loader().lastSummary().kind, LoadKind::Appended);
    QCOMPARE(SettingsFile(dir->file(u"hoko32.ini"_s))
                 .readInteger(u"FileSize"_s, QFileInfo(recordFile).canonicalFilePath(), 0),
             QFileInfo(recordFile).size());

    // Several lines in quick succession: one load of them all.
    const std::string three = romajiRun(QDate(2024, 7, 2), 9, 100) + romajiRun(QDate(2024, 7, 2), 10, 101) +
                              romajiRun(QDate(2024, 7, 2), 11, 102);
    for (std::size_t at = 0; at < three.size(); at += 46) {
      append(three.substr(at, 46));
      QTest::qWait(50);
    }
    QTRY_COMPARE_WITH_TIMEOUT(runs(*window), before + 4, 1000);
    QTest::qWait(400);
    QCOMPARE(window->session().core().loader().lastSummary().parsedLines, 3);
    QVERIFY(messages.isEmpty());
  }

  // The progress chart, open beside the main window, takes the appended run in
  // (its runs point into the loaded store, which a reload may move).
  void theProgressChartFollowsAReload() {
    auto window = start();
    window->show();
    window->findChild<QAction*>(u"Progress1"_s)->trigger();
    auto* progress = window->findChild<ProgressWindow*>();
    QVERIFY(progress && progress->isVisible());
    const int shown = progress->figures().runs;
    append(romajiRun(QDate(2024, 7, 1), 9, 123));
    QTRY_COMPARE_WITH_TIMEOUT(progress->figures().runs, shown + 1, 2000);
    QCOMPARE(progress->chart()->points().back().run.hits, 123);
  }

  void aLineWrittenInTwoHalvesIsNeverABadLine() {
    auto window = start();
    const std::size_t before = runs(*window);
    const std::string line = romajiRun(QDate(2024, 7, 1), 9, 150);
    append(line.substr(0, 20));
    QTest::qWait(700);  // past the settle time: the half line waits
    QCOMPARE(runs(*window), before);
    append(line.substr(20));
    QTRY_COMPARE_WITH_TIMEOUT(runs(*window), before + 1, 1000);
    QCOMPARE(window->session().core().records().AllRecords.back()->Hits, 150);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(u'\n')));
  }

  void aRecordOfTodayIsCelebratedOncePerRecord() {
    auto window = start();
    ModalRejecter closeBanners;
    QStringList banners;
    closeBanners.onModal = [&banners](QWidget* modal) {
      if (auto* banner = qobject_cast<TfrmOiwai*>(modal)) banners << banner->RecordLine;
    };
    const QDate today = QDate::currentDate();
    const int best = bestHits(*window);
    append(romajiRun(today, 8, best + 5));
    QTRY_COMPARE_WITH_TIMEOUT(banners.size(), 1, 2000);
    QCOMPARE(banners.first(), celebration::BannerAnimation::recordLineText(u"ローマ字"_s, quint16(best + 5)));
    append(romajiRun(today, 9, best - 50));  // no record
    QTRY_COMPARE_WITH_TIMEOUT(runs(*window), std::size_t(902), 1000);
    QTest::qWait(100);
    QCOMPARE(banners.size(), 1);
    append(romajiRun(today, 10, best + 9));  // the next record of the day
    QTRY_COMPARE_WITH_TIMEOUT(banners.size(), 2, 2000);
    QCOMPARE(banners.last(), celebration::BannerAnimation::recordLineText(u"ローマ字"_s, quint16(best + 9)));
    QCOMPARE(closeBanners.rejectedNames, (QStringList{u"frmOiwai"_s, u"frmOiwai"_s}));
  }

  void withTheOptionOffNothingReloads() {
    {
      auto window = start();
      QAction* option = window->findChild<QAction*>(u"AutoReload1"_s);
      QVERIFY(option->isChecked());  // on without a key in the settings file
      QCOMPARE(option->text(), u"自動再読み込み(&A)"_s);
      option->trigger();
      const std::size_t before = runs(*window);
      append(romajiRun(QDate(2024, 7, 1), 9, 120));
      QTest::qWait(1000);
      QCOMPARE(runs(*window), before);
      window->close();
    }
    QCOMPARE(SettingsFile(dir->file(u"hoko32.ini"_s)).readInteger(u"Option"_s, u"AutoReload"_s, -1), 0);
    auto again = start();
    QAction* option = again->findChild<QAction*>(u"AutoReload1"_s);
    QVERIFY(!option->isChecked());
    const std::size_t loaded = runs(*again);
    append(romajiRun(QDate(2024, 7, 2), 9, 120));
    QTest::qWait(800);
    QCOMPARE(runs(*again), loaded);
    option->trigger();  // on again: what was appended meanwhile is read
    QTRY_COMPARE_WITH_TIMEOUT(runs(*again), loaded + 1, 1000);
  }

  void aFileReplacedByAShorterOneIsLoadedAnew() {
    auto window = start();
    QCOMPARE(runs(*window), std::size_t(900));
    TempDir other;
    const QString shorter = writeTypistFile(other, 300);
    QVERIFY(QFile::remove(recordFile));
    QVERIFY(QFile::copy(shorter, recordFile));
    QTRY_COMPARE_WITH_TIMEOUT(runs(*window), std::size_t(300), 3000);
    QCOMPARE(window->session().core().loader().lastSummary().kind, LoadKind::Full);
    QVERIFY(memo(*window, ViewHistory)->toPlainText().contains(u"総練習回数："_s));
    // And it is followed from then on.
    append(romajiRun(QDate(2024, 7, 1), 9, 120));
    QTRY_COMPARE_WITH_TIMEOUT(runs(*window), std::size_t(301), 3000);
  }

  void aFileReplacedByALongerOneIsLoadedAnew() {
    auto window = start();
    TempDir other;
    const QString longer = writeTypistFile(other, 1200);  // other runs, not these 900 with more after them
    QVERIFY(QFile::remove(recordFile));
    QVERIFY(QFile::copy(longer, recordFile));
    QTRY_COMPARE_WITH_TIMEOUT(runs(*window), std::size_t(1200), 3000);
    QCOMPARE(window->session().core().loader().lastSummary().kind, LoadKind::Full);
  }

  // A run appended while a dialog is open is read once the dialog has closed.
  void aReloadWaitsForAnOpenDialog() {
    auto window = start();
    std::size_t underTheDialog = 0;
    onNextModal<TfrmRecent>([&](TfrmRecent* dialog) {
      append(romajiRun(QDate(2024, 7, 1), 9, 120));
      QTest::qWait(1200);  // the watcher has seen it by now
      underTheDialog = runs(*window);
      dialog->reject();
    });
    window->findChild<QAction*>(u"Recent1"_s)->trigger();
    QCOMPARE(underTheDialog, std::size_t(900));
    QTRY_COMPARE_WITH_TIMEOUT(runs(*window), std::size_t(901), 2000);
  }

  // A line still without its end is taken as it is once it has stood for the wait.
  void theWatcherWaitsForAHalfWrittenLine() {
    RecordFileWatcher watcher;
    watcher.setTimings({std::chrono::milliseconds(20), std::chrono::milliseconds(400), std::chrono::milliseconds(100)});
    QSignalSpy grown(&watcher, &RecordFileWatcher::grown);
    watcher.watch(recordFile);
    const std::string line = romajiRun(QDate(2024, 7, 1), 9, 120);
    append(line.substr(0, 20));
    QTest::qWait(250);
    QCOMPARE(grown.size(), 0);  // still within the wait
    QTRY_COMPARE_WITH_TIMEOUT(grown.size(), 1, 1000);
    QCOMPARE(grown.first().first().toBool(), true);
    append(line.substr(20));
    QTRY_COMPARE_WITH_TIMEOUT(grown.size(), 2, 1000);
    QCOMPARE(grown.last().first().toBool(), false);
  }

  void aReloadWhileTheFileIsMissingGoesOnFollowingIt() {
    auto window = start();
    QFile file(recordFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    QVERIFY(QFile::remove(recordFile));
    {
      ModalRejecter cancelTheFileDialog;
      window->findChild<QAction*>(u"ReSet1"_s)->trigger();
      QCOMPARE(cancelTheFileDialog.rejected, 1);
    }
    QCOMPARE(messages, QStringList{u"最初に記録ファイルを選択してください。"_s});
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();
    append(romajiRun(QDate(2024, 7, 1), 9, 120));
    QTRY_COMPARE_WITH_TIMEOUT(runs(*window), std::size_t(901), 6000);
  }

  void aFileCutAndWrittenAnewBetweenTwoLooksIsLoadedAnew() {
    auto window = start();
    QCOMPARE(runs(*window), std::size_t(900));
    GeneratorOptions other;
    other.seed = 77;
    other.runs = 1000;
    const std::vector<GeneratedRun> generated = generateRuns(other);
    QFile file(recordFile);  // the same file: cut, then longer than before
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const std::string bytes = recordFileBytes(generated);
    QCOMPARE(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
    file.close();
    QTRY_COMPARE_WITH_TIMEOUT(window->session().core().records().AllRecords.front()->Hits, generated.front().hits,
                              6000);
    QTRY_COMPARE_WITH_TIMEOUT(runs(*window), std::size_t(1000), 2000);
    QCOMPARE(window->session().core().records().AllRecords[500]->Hits, generated[500].hits);
  }
};

QTEST_MAIN(LiveReloadTest)
#include "LiveReloadTest.moc"
