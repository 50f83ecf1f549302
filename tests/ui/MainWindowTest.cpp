// The main window, driven as a user would, offscreen: start-up, tabs, commands,
// dialogs and the settings file after close.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>

#include <functional>
#include <memory>
#include <set>

#include "celebration/TfrmOiwai.h"
#include "celebration/TfrmOiwaiCfg.h"
#include "chart3d/Chart3DView.h"
#include "chart3d/Tfrm3DGraph.h"
#include "export/ExportDialog.h"
#include "records/DayCount.h"
#include "records/LoaderMessages.h"
#include "settings/SettingsFile.h"
#include "support/MainWindowFixture.h"
#include "support/ModalDialogs.h"
#include "support/TempDir.h"
#include "support/TypistFile.h"
#include "tools/RecordFileGenerator.h"
#include "ui/FileListDates.h"
#include "ui/FontNames.h"
#include "ui/JapaneseTranslations.h"
#include "ui/MessageBoxes.h"
#include "ui/RecordFilePanel.h"
#include "ui/TfrmAverCfg.h"
#include "ui/TfrmColor.h"
#include "ui/TfrmGChar.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmRecent.h"

using namespace Qt::StringLiterals;

class MainWindowTest : public QObject, private MainWindowFixture {
  Q_OBJECT

 private:
  QString recordFile() const { return dir->file(u"typist.ｷﾛｸ"_s); }

  std::unique_ptr<TfrmMain> startOnRecordFile(const QStringList& extra = {}) {
    return start(QStringList{recordFile()} + extra);
  }

  // The window's controls, found by their design names.
  template <typename T>
  static T* named(const TfrmMain& w, const QString& name) {
    T* found = w.findChild<T*>(name);
    if (!found) qFatal("no control named %s", qPrintable(name));
    return found;
  }
  static QAction* item(const TfrmMain& w, const QString& name) { return named<QAction>(w, name); }
  static QTabWidget* pages(const TfrmMain& w) { return named<QTabWidget>(w, u"PageControl1"_s); }
  static QPlainTextEdit* memo(const TfrmMain& w, int tab) {
    return named<QPlainTextEdit>(w, u"Memo"_s + QString::number(tab + 1));
  }
  static QToolButton* modeButton(const TfrmMain& w, int mode) {
    const QString names[] = {u"ButtonA"_s, u"ButtonK"_s, u"ButtonR"_s, u"ButtonE"_s};
    return named<QToolButton>(w, names[mode]);
  }
  static QString paneText(const TfrmMain& w, int tab) { return memo(w, tab)->toPlainText(); }
  static int currentMode(const TfrmMain& w) { return w.session().core().settings().mode; }

 private Q_SLOTS:
  void initTestCase() { FontNames::installSubstitutions(); }

  void init() {
    setUpWindowFolder();
    writeTypistFile(*dir, 600);
  }

  void cleanup() { tearDownWindowFolder(); }

  void startsWithoutSettingsAndAsksForARecordFile() {
    ModalRejecter cancel;  // the folder and record file dialog
    QString dialogFolder;
    cancel.onModal = [&dialogFolder](QWidget* modal) {
      if (auto* dialog = qobject_cast<QFileDialog*>(modal)) dialogFolder = dialog->directory().absolutePath();
    };
    TfrmMain window(context());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window.geometry().width(), screen.width() * 3 / 4);
    QCOMPARE(window.geometry().height(), screen.height() * 2 / 3);
    QCOMPARE(window.geometry().x(), screen.width() / 8);
    QCOMPARE(window.geometry().y(), screen.height() / 6);
    QVERIFY(modeButton(window, ModeRomaji)->isChecked());
    QCOMPARE(pages(window)->currentIndex(), 0);
    QVERIFY(item(window, u"Hint1"_s)->isChecked());
    QCOMPARE(window.session().core().settings().hitMark, u"o"_s);
    QCOMPARE(dialogFolder, dir->path());  // the record folder: the program's
    QCOMPARE(messages, QStringList{u"最初に記録ファイルを選択してください。"_s});
    QCOMPARE(window.windowTitle(), u"ＴＡＰＰＥＲの足跡32"_s);
  }

  void commandLineNamesTheFileAndTheMode() {
    {
      auto window = startOnRecordFile({u"a"_s});
      QCOMPARE(currentMode(*window), int(ModeRomaji));  // a lower-case letter is no mode letter
      QCOMPARE(named<RecordFilePanel>(*window, u"plRecFile"_s)->text(), u"typist.ｷﾛｸ"_s);
      QVERIFY(paneText(*window, ViewHistory).startsWith(u"<<ローマ字の足跡 >>"_s));
    }
    {
      auto window = startOnRecordFile({u"ｱ"_s});
      QCOMPARE(currentMode(*window), int(ModeKana));
      QVERIFY(modeButton(*window, ModeKana)->isChecked());
      window->close();  // saves mode 1
    }
    auto window = startOnRecordFile({u"A"_s, u"third"_s});
    QCOMPARE(currentMode(*window), int(ModeKana));  // "a second argument counts only when there are two"
  }

  void missingArgumentFileAsksForOne() {
    ModalRejecter cancel;
    TfrmMain window(context({dir->file(u"gone.ｷﾛｸ"_s)}));
    QCOMPARE(messages, QStringList({u"引数に指定されたファイルがみつかりません。選択してください"_s,
                                    u"最初に記録ファイルを選択してください。"_s}));
    QCOMPARE(cancel.rejected, 2);  // once for the argument, once by the load
    QCOMPARE(named<RecordFilePanel>(window, u"plRecFile"_s)->text(), QString());
  }

  // The window sees keys before its controls: the menus' keys work with the
  // focus in any of them, spin boxes included.
  void menuKeysComeBeforeEveryControl() {
    auto window = startOnRecordFile();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const struct {
      const char* name;
      int tab;
    } controls[] = {{"seRankCount", ViewBest}, {"seMissCon", ViewMiss}, {"Memo1", ViewHistory}};
    int mode = ModeAlphabet;
    for (const auto& c : controls) {
      pages(*window)->setCurrentIndex(c.tab);
      auto* control = window->findChild<QWidget*>(QString::fromLatin1(c.name));
      QVERIFY2(control, c.name);
      control->setFocus();
      QTRY_VERIFY(control->hasFocus());
      const Qt::Key key = mode == ModeAlphabet ? Qt::Key_A : Qt::Key_K;
      QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
      QVERIFY2(modeButton(*window, mode)->isChecked(), c.name);
      mode = mode == ModeAlphabet ? ModeKana : ModeAlphabet;
    }
  }

  void panesAreComputedWhenTheirTabIsShown() {
    auto window = startOnRecordFile();
    QVERIFY(!paneText(*window, ViewHistory).isEmpty());
    QVERIFY(!paneText(*window, ViewBest).isEmpty());
    QVERIFY(paneText(*window, ViewAverage).isEmpty());
    pages(*window)->setCurrentIndex(ViewAverage);
    QVERIFY(paneText(*window, ViewAverage).startsWith(u"<<ローマ字の平均の推移 >>"_s));
    QVERIFY(item(*window, u"Day1"_s)->isVisible());
    QVERIFY(!item(*window, u"Copy1"_s)->isVisible());

    modeButton(*window, ModeAlphabet)->click();  // on the average tab: only its pass runs
    QVERIFY(paneText(*window, ViewAverage).startsWith(u"<<英字の平均の推移 >>"_s));
    QVERIFY(paneText(*window, ViewHistory).isEmpty());
    pages(*window)->setCurrentIndex(ViewHistory);
    QVERIFY(paneText(*window, ViewHistory).startsWith(u"<<英字の足跡 >>"_s));
    QVERIFY(!item(*window, u"Day1"_s)->isVisible());
  }

  // The average tab's scale shows whole numbers only, as many as fit the
  // window, each over its column, up to 550: "0" in column 25, then each 50
  // hits ten columns on, ending in column 26 + 10 k.
  void theAverageScaleFitsTheWindow() {
    auto window = startOnRecordFile();
    window->show();
    pages(*window)->setCurrentIndex(ViewAverage);
    auto* scale = window->findChild<QLabel*>(u"Panel3"_s);
    const QFontMetrics metrics(scale->font());
    const auto scaleOf = [](qsizetype numbers) {  // the first so many numbers, each ending in its column
      QString text;
      for (qsizetype k = 0; k < numbers; ++k) {
        const QString number = QString::number(k * 50);
        text += QString((k == 0 ? 26 : 27 + k * 10) - text.size() - number.size(), u' ') + number;
      }
      return text;
    };
    for (const int columns : {70, 200}) {  // 200: room for more than up to 550
      window->resize(columns * metrics.horizontalAdvance(u'0'), 600);
      QCoreApplication::processEvents();
      const QString text = scale->text();
      const qsizetype numbers = text.split(u' ', Qt::SkipEmptyParts).size();
      QCOMPARE(text, scaleOf(numbers));
      QCOMPARE_LE(numbers, 12);
      QVERIFY2(metrics.horizontalAdvance(text) <= scale->contentsRect().width(), qPrintable(text));
      // The next number would not have fitted.
      if (numbers < 12) QVERIFY(metrics.horizontalAdvance(scaleOf(numbers + 1)) > scale->contentsRect().width());
    }
  }

  void missTabUnderTheNoMissOption() {
    auto window = startOnRecordFile();
    item(*window, u"Nomiss1"_s)->trigger();
    QVERIFY(paneText(*window, ViewHistory).startsWith(u"<<ローマ字ノーミスの足跡 >>"_s));
    pages(*window)->setCurrentIndex(ViewMiss);
    QCOMPARE(messages.last(), u"ノーミスオプションの時にこれを選んでも無意味ですよ。(^^;)"_s);
    QVERIFY(memo(*window, ViewMiss)->isHidden());
    QVERIFY(!named<QToolButton>(*window, u"GraphButton"_s)->isEnabled());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTRY_COMPARE(window->findChild<QWidget*>(u"Panel4"_s)->y(), 0);  // the header stays at the top
    // The View menu's item of the page already shown runs the tab change again.
    messages.clear();
    item(*window, u"Miss1"_s)->trigger();
    QCOMPARE(messages, QStringList{u"ノーミスオプションの時にこれを選んでも無意味ですよ。(^^;)"_s});
  }

  void copyAndCopyAll() {
    auto window = startOnRecordFile();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (int tab = 0; tab < ViewCount; ++tab) {
      pages(*window)->setCurrentIndex(tab);
      clipboard->clear();
      item(*window, u"CopyAll1"_s)->trigger();
      const QString copied = clipboard->text();
      QVERIFY2(!copied.isEmpty(), qPrintable(QString::number(tab)));
      QVERIFY(copied.contains(u"\r\n"_s));
      if (tab == ViewGraph) QVERIFY(copied.split(u"\r\n"_s)[1].startsWith(u" 更新日"_s));
      if (tab == ViewAverage) QVERIFY(copied.split(u"\r\n"_s)[2].startsWith(u"                         |"_s));
      if (tab != ViewGraph && tab != ViewAverage) QCOMPARE(copied, paneText(*window, tab).replace(u'\n', u"\r\n"_s));
    }
    // The panes keep their look after a copy all.
    QVERIFY(!paneText(*window, ViewAverage).split(u'\n')[1].contains(u'|'));

    pages(*window)->setCurrentIndex(ViewGraph);
    clipboard->setText(u"before"_s);
    memo(*window, ViewGraph)->selectAll();
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), u"before"_s);  // "no copy of a selection on the graph tab"

    pages(*window)->setCurrentIndex(ViewBest);
    memo(*window, ViewBest)->selectAll();
    item(*window, u"Copy1"_s)->trigger();
    QVERIFY(clipboard->text().startsWith(u"ローマ字自己記録のベスト10"_s));
  }

  void doubleClickOnAnEmptyHistoryPaneOpensTheFolderDialog() {
    auto window = startOnRecordFile();
    memo(*window, ViewHistory)->clear();
    bool dialogShown = false;
    onNextModal([&dialogShown](QWidget* w) {
      dialogShown = qobject_cast<QFileDialog*>(w) != nullptr;
      QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection);
    });
    QTest::mouseDClick(memo(*window, ViewHistory)->viewport(), Qt::LeftButton);
    QVERIFY(dialogShown);
  }

  void displayCountAndGraphCharacters() {
    auto window = startOnRecordFile();
    onNextModal([](QWidget* w) {
      auto* dialog = qobject_cast<TfrmRecent*>(w);
      QVERIFY(dialog);
      dialog->SpinEdit1->setValue(2);
      dialog->accept();
    });
    item(*window, u"Recent1"_s)->trigger();
    QCOMPARE(window->session().core().settings().recentLimit, 2);
    QCOMPARE(paneText(*window, ViewHistory).split(u'\n').size(), 5);
    QCOMPARE(paneText(*window, ViewGraph).split(u'\n').size(), 3);

    onNextModal([](QWidget* w) {
      auto* dialog = qobject_cast<TfrmGChar*>(w);
      QVERIFY(dialog);
      dialog->edtHit->setText(u"#"_s);
      dialog->edtMiss->clear();  // an empty field keeps its character
      dialog->accept();
    });
    item(*window, u"GraphChar"_s)->trigger();
    QCOMPARE(window->session().core().settings().hitMark, u"#"_s);
    QCOMPARE(window->session().core().settings().missMark, u"x"_s);
    QVERIFY(paneText(*window, ViewGraph).split(u'\n')[1].contains(u"####"_s));
  }

  void paletteDialogColoursTheActivePane() {
    auto window = startOnRecordFile();
    pages(*window)->setCurrentIndex(ViewMiss);
    onNextModal([](QWidget* w) {
      auto* dialog = qobject_cast<TfrmColor*>(w);
      QVERIFY(dialog);
      QLabel* maroon = dialog->colorLabels().at(1);
      QTest::mouseClick(maroon, Qt::LeftButton);
      dialog->bbOK->click();
    });
    item(*window, u"Col1"_s)->trigger();
    QCOMPARE(memo(*window, ViewMiss)->palette().color(QPalette::Base), QColor(128, 0, 0));
    QVERIFY(memo(*window, ViewHistory)->palette().color(QPalette::Base) != QColor(128, 0, 0));
  }

  void recordFileMenuFollowsTheFolderDialog() {
    auto window = startOnRecordFile();
    QMenu* recordFiles = named<QMenu>(*window, u"PopupMenu2"_s);
    QCOMPARE(recordFiles->actions().size(), 1);
    TempDir other;
    other.write(u"one.ｷﾛｸ"_s, dir->read(u"typist.ｷﾛｸ"_s));
    other.write(u"two.ｷﾛｸ"_s, dir->read(u"typist.ｷﾛｸ"_s).left(46 * 10));
    onNextModal([&other](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      dialog->setDirectory(other.path());
      dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(u"two.ｷﾛｸ"_s);
      QMetaObject::invokeMethod(dialog, "done", Qt::QueuedConnection, Q_ARG(int, QDialog::Accepted));
    });
    item(*window, u"Directory1"_s)->trigger();
    QCOMPARE(named<RecordFilePanel>(*window, u"plRecFile"_s)->text(), u"two.ｷﾛｸ"_s);
    QCOMPARE(recordFiles->actions().size(), 2);
    QVERIFY(window->findChild<QAction*>(u"FileMenu2"_s));
    QVERIFY(paneText(*window, ViewHistory).contains(u"（総練習回数："_s));
    QCOMPARE(window->session().core().records().AllRecords.size(), 10u);

    QAction* one = nullptr;
    for (QAction* file : recordFiles->actions())
      if (file->data().toString() == u"one.ｷﾛｸ"_s) one = file;
    QVERIFY(one);
    one->trigger();
    QCOMPARE(named<RecordFilePanel>(*window, u"plRecFile"_s)->text(), u"one.ｷﾛｸ"_s);
    QCOMPARE(window->session().core().records().AllRecords.size(), 600u);
    window->close();
    QCOMPARE(SettingsFile(settingsPath()).readText(u"File"_s, u"Path"_s, {}), other.path() + u'/');
  }

  void closeSavesTheNormalBoundsOfAMaximisedWindow() {
    {
      auto window = startOnRecordFile();
      window->setGeometry(30, 40, 500, 400);
      window->show();
      window->showMaximized();
      QVERIFY(QTest::qWaitForWindowExposed(window.get()));
      window->close();
    }
    SettingsFile settings(settingsPath());
    QCOMPARE(settings.readInteger(u"Form"_s, u"WindowState"_s, -1), 2);
    QCOMPARE(settings.readInteger(u"Form"_s, u"Width"_s, -1), 500);
    QCOMPARE(settings.readInteger(u"Form"_s, u"Height"_s, -1), 400);
    QCOMPARE(settings.readText(u"File"_s, u"RecFile"_s, {}), u"typist.ｷﾛｸ"_s);
    QCOMPARE(settings.readInteger(u"Option"_s, u"Default Type"_s, -1), 2);
    auto again = std::make_unique<TfrmMain>(context());
    QVERIFY(again->windowState() & Qt::WindowMaximized);
    QVERIFY(!paneText(*again, ViewHistory).isEmpty());  // "the remembered file is loaded"
  }

  void unwritableSettingsKeepTheWindowOpenWithAMessage() {
    dir->write(u"blocker"_s, "a file where a folder should be");
    StartupContext blocked = context({recordFile()});
    blocked.settingsPath = dir->file(u"blocker/hoko32.ini"_s);
    TfrmMain window(blocked);
    window.show();
    messages.clear();
    QVERIFY(!window.close());
    QCOMPARE(messages, QStringList{dir->file(u"blocker/hoko32.ini"_s) + u" に書き込めません"_s});
    QVERIFY(window.close());  // "a second close leaves without saving"
  }

  void hiddenItemsKeepTheirShortcuts() {
    auto window = startOnRecordFile();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    pages(*window)->setCurrentIndex(ViewBest);
    QVERIFY(!item(*window, u"Level1"_s)->isVisible());
    QTest::keyClick(window.get(), Qt::Key_U, Qt::ControlModifier);
    QVERIFY(item(*window, u"Level1"_s)->isChecked());
    ModalRejecter closeChart;
    QTest::keyClick(window.get(), Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(closeChart.rejectedNames, QStringList{u"frm3DGraph"_s});  // the 3D chart window was open
  }

  void hintsWrapAtTheirWidthAndCanBeSwitchedOff() {
    auto window = startOnRecordFile();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    pages(*window)->setCurrentIndex(ViewAverage);
    QWidget* button = named<QPushButton>(*window, u"ButtonAverCfg"_s);
    const auto askForHint = [button] {
      QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
      QApplication::sendEvent(button, &event);
    };
    askForHint();
    QTRY_VERIFY(QToolTip::isVisible());
    QVERIFY(QToolTip::text().contains(u'\n'));
    QCOMPARE(QToolTip::text().remove(u'\n'), u"総打数、ミス、回数の間隔の設定を行います"_s);
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
    item(*window, u"Hint1"_s)->trigger();  // hints off
    askForHint();
    QTest::qWait(20);
    QVERIFY(!QToolTip::isVisible());
  }

  void storedModeFourLoadsNothingUntilAReload() {
    SettingsFile settings(settingsPath());
    QVERIFY(settings.writeInteger(u"Option"_s, u"Default Type"_s, 4));
    auto window = startOnRecordFile();
    for (int mode = 0; mode < PracticeModeCount; ++mode) QVERIFY(!modeButton(*window, mode)->isChecked());
    QVERIFY(window->session().core().records().AllRecords.empty());
    item(*window, u"ReSet1"_s)->trigger();
    QCOMPARE(window->session().core().records().AllRecords.size(), 600u);
    modeButton(*window, ModeSymbols)->click();
    QVERIFY(paneText(*window, ViewHistory).startsWith(u"<<記号の足跡 >>"_s));
  }

  void longPanesFillInPiecesAndCopyWhole() {
    GeneratorOptions options;
    options.runs = 90000;
    options.modeShares = {0, 0, 1, 0};
    dir->write(u"typist.ｷﾛｸ"_s, QByteArray::fromStdString(recordFileBytes(generateRuns(options))));
    QVERIFY(SettingsFile(settingsPath()).writeInteger(u"Option"_s, u"CountInterval"_s, 1));
    auto window = startOnRecordFile();
    pages(*window)->setCurrentIndex(ViewAverage);
    named<QToolButton>(*window, u"ButtonCount"_s)->click();  // a line per run
    QPlainTextEdit* pane = memo(*window, ViewAverage);
    QVERIFY(pane->blockCount() < 90002);  // the first lines at once
    item(*window, u"CopyAll1"_s)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text().count(u"\r\n"_s), 90002);  // title, scale, ruler, 90000 runs
    QCOMPARE(pane->blockCount(), 90002);
    named<QToolButton>(*window, u"ButtonDay"_s)->click();
    named<QToolButton>(*window, u"ButtonCount"_s)->click();
    named<QToolButton>(*window, u"ButtonYear"_s)->click();  // a new pass drops what was left to append
    const int yearLines = static_cast<int>(window->session().core().averages().AverageLines.size());
    QTest::qWait(100);
    QCOMPARE(pane->blockCount(), yearLines);
  }

  // The graph button opens the 3D chart modally with the points behind the
  // active tab; the miss and ranking tabs have none and disable the button.
  void theGraphButtonOpensTheChartOnTheTabsPoints() {
    auto window = startOnRecordFile();
    pages(*window)->setCurrentIndex(ViewGraph);
    const std::optional<ChartPoints> expected = window->session().core().chartInput(ViewGraph).points;
    QVERIFY(expected && !expected->empty());
    QString title;
    int points = -1;
    QTimer::singleShot(0, [&] {
      auto* w = qobject_cast<Tfrm3DGraph*>(QApplication::activeModalWidget());
      if (!w) return;
      title = w->windowTitle();
      points = w->MinChart->model().pointCount();
      w->btClose->click();
    });
    QTimer watchdog;  // never hang on a window that did not open
    connect(&watchdog, &QTimer::timeout, [] {
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    watchdog.start(3000);
    named<QToolButton>(*window, u"GraphButton"_s)->click();
    QCOMPARE(title, u"TAPPERの足跡32"_s);
    QCOMPARE(points, int(expected->size()));
    QCOMPARE(SettingsFile(settingsPath()).readInteger(u"ChartOption"_s, u"MaxPointsPerPage"_s, -99),
             10);  // closed through FormClose
    for (const int tab : {int(ViewMiss), int(ViewBest)}) {
      pages(*window)->setCurrentIndex(tab);
      QVERIFY(!window->session().chartInput(View(tab)).points);
      QVERIFY(!named<QToolButton>(*window, u"GraphButton"_s)->isEnabled());
    }
  }

  // ファイル → エクスポート...: the active view's data or every run, CSV or
  // JSON, and an existing file replaced only when the user agrees.
  void exportSavesTheActiveViewOrEveryRun() {
    auto window = startOnRecordFile();
    const auto exportTo = [&](const QString& name, const QString& content, bool json, bool replace = true) {
      onNextModal<ExportDialog>([content](ExportDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), u"エクスポート"_s);
        dialog->findChild<QRadioButton*>(content)->setChecked(true);
        dialog->accept();
      });
      onNextModal<QFileDialog>([this, name, json, replace](QFileDialog* dialog) {
        QCOMPARE(dialog->nameFilters(), (QStringList{u"CSV ファイル (*.csv)"_s, u"JSON ファイル (*.json)"_s}));
        if (json) dialog->selectNameFilter(u"JSON ファイル (*.json)"_s);
        dialog->setDirectory(dir->path());
        dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(name);
        if (QFileInfo::exists(dir->file(name))) {
          onNextModal<QMessageBox>([dialog, replace](QMessageBox* box) {
            box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            if (!replace) QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
          });
        }
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
      });
      item(*window, u"Export1"_s)->trigger();
    };

    exportTo(u"history"_s, u"rbView"_s, false);  // the suffix of the format chosen is added
    const QByteArray csv = dir->read(u"history.csv"_s);
    QVERIFY(
        csv.startsWith("\xEF\xBB\xBF"
                       "date,time,hits,misses,runs,runs_since,days_since,level\r\n"));
    const QStringList paneLines = paneText(*window, ViewHistory).split(u'\n');
    const QList<QByteArray> rows = csv.trimmed().split('\n');
    QCOMPARE(rows.size() - 1, paneLines.size() - 3);  // one row per record line under the title and header
    QVERIFY(rows[1].startsWith(paneLines[3].left(10).toLatin1() + ','));

    exportTo(u"all.json"_s, u"rbRuns"_s, true);
    const QJsonObject document = QJsonDocument::fromJson(dir->read(u"all.json"_s)).object();
    QCOMPARE(document.value(u"runs"_s).toArray().size(), 600);
    QCOMPARE(document.value(u"file"_s).toString(), u"typist.ｷﾛｸ"_s);

    exportTo(u"all.json"_s, u"rbView"_s, false, false);  // declined: the file stays as it was
    QCOMPARE(QJsonDocument::fromJson(dir->read(u"all.json"_s)).object().value(u"runs"_s).toArray().size(), 600);
    exportTo(u"all.json"_s, u"rbView"_s, true, true);  // agreed: the history alone now
    const QJsonObject replaced = QJsonDocument::fromJson(dir->read(u"all.json"_s)).object();
    QVERIFY(!replaced.contains(u"runs"_s));
    QCOMPARE(replaced.value(u"history"_s).toArray().size(), rows.size() - 1);

    // The practice calendar's days: one row per day with romaji runs.
    exportTo(u"days.csv"_s, u"rbCalendar"_s, false);
    std::set<QDate> romajiDays;
    for (const PracticeRecord* r : window->session().core().records().AllRecords)
      if (r->Mode == ModeRomaji) romajiDays.insert(QDate(r->Year, r->Month, r->Day));
    const QList<QByteArray> days = dir->read(u"days.csv"_s).trimmed().split('\n');
    QVERIFY(days.first().contains("date,runs,best_hits,average_hits,average_misses,personal_best"));
    QCOMPARE(days.size() - 1, qsizetype(romajiDays.size()));
  }

  void exportSaysWhenThereIsNothingToExportOrItCannotWrite() {
    {
      ModalRejecter cancel;  // the record file dialog
      TfrmMain empty(context());
      messages.clear();
      item(empty, u"Export1"_s)->trigger();
      QCOMPARE(messages, QStringList{u"エクスポートする練習がありません。記録ファイルを読み込んでください。"_s});
    }
    auto window = startOnRecordFile();
    messages.clear();
    const QString target = dir->file(u"gone/runs.csv"_s);  // in a folder that is not there
    onNextModal<ExportDialog>([](ExportDialog* dialog) {
      dialog->findChild<QRadioButton*>(u"rbRuns"_s)->setChecked(true);
      dialog->accept();
    });
    onNextModal<QFileDialog>([&target](QFileDialog* dialog) {
      dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(target);
      QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    item(*window, u"Export1"_s)->trigger();
    // The reason follows, in the user's words.
    QCOMPARE(messages,
             QStringList{LoaderMessages::cannotWrite(QDir::toNativeSeparators(target), u"ファイルがありません。"_s)});
  }

  void celebrationSettingsAreKeptOnOkOnlyAndSavedOnClose() {
    auto window = startOnRecordFile();
    QString oldFanfare;
    onNextModal([&oldFanfare](QWidget* w) {
      auto* dialog = qobject_cast<TfrmOiwaiCfg*>(w);
      QVERIFY(dialog);
      oldFanfare = dialog->edSound->text();
      dialog->reject();
    });
    item(*window, u"KM1"_s)->trigger();
    QVERIFY(!oldFanfare.isEmpty());
    onNextModal([](QWidget* w) {
      auto* dialog = qobject_cast<TfrmOiwaiCfg*>(w);
      QVERIFY(dialog);
      dialog->edSound->setText(u"/nowhere/fanfare.mid"_s);
      dialog->Edit1->setText(u"やった！"_s);
      dialog->reject();
    });
    item(*window, u"KM1"_s)->trigger();
    QString keptFanfare;
    onNextModal([&keptFanfare](QWidget* w) {
      auto* dialog = qobject_cast<TfrmOiwaiCfg*>(w);
      QVERIFY(dialog);
      keptFanfare = dialog->edSound->text();
      QCOMPARE(dialog->Edit1->text(), u"＼(^o^)／＼(^O^)／"_s);  // the values given again, not the cancelled ones
      dialog->edSound->clear();
      dialog->Edit1->setText(u"やった！"_s);
      dialog->accept();
    });
    item(*window, u"KM1"_s)->trigger();
    QCOMPARE(keptFanfare, oldFanfare);
    window->close();
    SettingsFile settings(settingsPath());
    QCOMPARE(settings.readText(u"Option"_s, u"OiwaiMessage"_s, {}), u"やった！"_s);
    QCOMPARE(settings.readText(u"Option"_s, u"Fanfare"_s, u"unset"_s), QString());
  }

  // A dialog's OK puts its change into the settings file at once, before the
  // window closes: a crash in a later dialog (Qt's font dialog on Wine) loses
  // none of it. Cancel writes nothing.
  void aDialogsChangeIsSavedWhenItClosesWithOk_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("お祝いの設定") << u"KM1"_s << u"OiwaiMessage"_s << u"やった！"_s;
    QTest::newRow("表示回数の制限") << u"Recent1"_s << u"Recent"_s << u"3"_s;
    QTest::newRow("グラフ表示キャラクタ") << u"GraphChar"_s << u"HitMark"_s << u"#"_s;
    QTest::newRow("平均の条件設定") << u"AverCfg1"_s << u"CountInterval"_s << u"20"_s;
  }
  void aDialogsChangeIsSavedWhenItClosesWithOk() {
    QFETCH(QString, action);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    auto window = startOnRecordFile();
    const auto change = [](QWidget* w) {
      if (auto* celebration = qobject_cast<TfrmOiwaiCfg*>(w)) celebration->Edit1->setText(u"やった！"_s);
      if (auto* recent = qobject_cast<TfrmRecent*>(w)) recent->SpinEdit1->setValue(3);
      if (auto* marks = qobject_cast<TfrmGChar*>(w)) marks->edtHit->setText(u"#"_s);
      if (auto* average = qobject_cast<TfrmAverCfg*>(w)) average->SpinEdit3->setValue(20);
    };
    const auto stored = [&] { return SettingsFile(settingsPath()).readText(u"Option"_s, key, u"none"_s); };
    const QString before = stored();
    QVERIFY(before != expected);
    onNextModal([&](QWidget* w) {
      change(w);
      QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection);
    });
    item(*window, action)->trigger();
    QCOMPARE(stored(), before);
    onNextModal([&](QWidget* w) {
      change(w);
      QMetaObject::invokeMethod(w, "accept", Qt::QueuedConnection);
    });
    item(*window, action)->trigger();
    QCOMPARE(stored(), expected);  // the window is still open
  }

  // The typist's file, ending in a romaji record of 999 set today.
  void writeRecordOfToday() const {
    GeneratorOptions options;
    options.runs = 300;
    options.newestDay =
        DayCount::CivilDate{QDate::currentDate().year(), QDate::currentDate().month(), QDate::currentDate().day()};
    std::string bytes = recordFileBytes(generateRuns(options));
    GeneratedRun record;
    record.mode = ModeRomaji;
    record.date = *options.newestDay;
    record.time = {23, 59, 0};
    record.hits = 999;
    bytes += formatRecordLine(record);
    dir->write(u"typist.ｷﾛｸ"_s, QByteArray::fromStdString(bytes));
  }

  void celebrationIsAskedForOnARecordOfTheStartDay() {
    writeRecordOfToday();
    ModalRejecter closeBanners;
    auto window = std::make_unique<TfrmMain>(context({recordFile(), u"R"_s}));
    QCOMPARE(closeBanners.rejectedNames, QStringList{u"frmOiwai"_s});
    QVERIFY(messages.last().startsWith(u"ファンファーレが演奏できませんでした。"_s));  // no fanfare file here
    QCOMPARE(SettingsFile(settingsPath()).readInteger(u"Option"_s, u"OiwaiBmpPattern"_s, 0),
             1);          // no pictures: 1 again
    QStringList banners;  // the record line of each banner shown
    closeBanners.onModal = [&banners](QWidget* modal) {
      if (auto* banner = qobject_cast<TfrmOiwai*>(modal)) banners << banner->RecordLine;
    };
    modeButton(*window, ModeKana)->click();
    modeButton(*window, ModeRomaji)->click();
    QVERIFY(banners.isEmpty());
    item(*window, u"ReSet1"_s)->trigger();
    QCOMPARE(closeBanners.rejected, 2);
    QCOMPARE(banners, QStringList{celebration::BannerAnimation::recordLineText(u"ローマ字"_s, 999)});
  }

  // A program named otherwise keeps its settings in a file of its own name;
  // the banner's picture number goes there too, not to a "hoko32.ini".
  void theBannerKeepsItsPictureInTheProgramsOwnSettingsFile() {
    writeRecordOfToday();
    const QString own = dir->file(u"hoko32x.ini"_s);
    ModalRejecter closeBanners;
    auto window =
        std::make_unique<TfrmMain>(StartupContext{own, dir->path() + u'/', dir->path(), {recordFile(), u"R"_s}});
    QCOMPARE(closeBanners.rejectedNames, QStringList{u"frmOiwai"_s});
    window->close();
    QVERIFY(!QFileInfo::exists(settingsPath()));
    QCOMPARE(SettingsFile(own).readInteger(u"Option"_s, u"OiwaiBmpPattern"_s, 0), 1);
  }

  // The panes are views: Tab moves on to the next control, it types nothing.
  void tabLeavesEveryPaneAsItWas() {
    auto window = startOnRecordFile();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    for (int tab = 0; tab < ViewCount; ++tab) {
      pages(*window)->setCurrentIndex(tab);
      memo(*window, tab)->setFocus();
      const QString before = paneText(*window, tab);
      QTest::keyClick(memo(*window, tab), Qt::Key_Tab);
      QVERIFY(!memo(*window, tab)->hasFocus());
      QCOMPARE(paneText(*window, tab), before);
    }
  }

  // Last, as it changes the whole program: the viewer's start-up makes
  // Japanese the default locale, and the file dialogs write dates in it.
  void theViewerSpeaksJapaneseInQtsDialogs() {
    QVERIFY(JapaneseTranslations::install(*qApp));
    QCOMPARE(QLocale(), QLocale(QLocale::Japanese, QLocale::Japan));
    QFileDialog files(nullptr, u"t"_s, dir->path());
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.show();
    const auto* list = files.findChild<QTreeView*>(u"treeView"_s);
    QModelIndex date;
    QTRY_VERIFY((date = qobject_cast<QFileSystemModel*>(list->model())->index(recordFile(), 3)).isValid());
    QStyleOptionViewItem shown;
    auto* dates = qobject_cast<FileListDates*>(list->itemDelegateForIndex(date));
    QVERIFY(dates);
    dates->initStyleOption(&shown, date);
    QCOMPARE(shown.text, QFileInfo(recordFile()).lastModified().toString(u"yyyy/MM/dd H:mm"_s));
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
