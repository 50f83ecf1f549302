// The era chosen in the main window's dialog: the history pane equals the
// report tool's with --since, and the title names the era.
#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include "progress/ProgressWindow.h"
#include "support/MainWindowFixture.h"
#include "support/ModalDialogs.h"
#include "support/TypistFile.h"
#include "ui/EraDialog.h"
#include "ui/FontNames.h"

using namespace Qt::StringLiterals;

class EraWindowTest : public QObject, private MainWindowFixture {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { FontNames::installSubstitutions(); }
  void init() { setUpWindowFolder(); }
  void cleanup() { tearDownWindowFolder(); }

  void historyCountsFromTheEraOn() {
    const QString recordFile = writeTypistFile(*dir, 900);
    auto window = start({recordFile});
    onNextModal<EraDialog>([](EraDialog* dialog) {
      dialog->FromCheck->setChecked(true);
      dialog->FromDate->setDate(QDate(2024, 3, 1));
      dialog->BitBtn1->click();
    });
    window->findChild<QAction*>(u"Era1"_s)->trigger();
    QCOMPARE(window->windowTitle(), u"ＴＡＰＰＥＲの足跡32 (2024/03/01 以降)"_s);
    QCOMPARE(window->findChild<QLabel*>(u"lblEra"_s)->text(), u"2024/03/01 以降"_s);

    QProcess report;
    report.start(QString::fromUtf8(HOKO32_REPORT_EXE), {u"--settings"_s, settingsPath(), u"--copy"_s, u"--view"_s,
                                                        u"history"_s, u"--since"_s, u"2024-03-01"_s, recordFile});
    QVERIFY(report.waitForFinished(60000) && report.exitCode() == 0);
    const QString history = window->findChild<QPlainTextEdit*>(u"Memo1"_s)->toPlainText() + u'\n';
    QCOMPARE(history, QString::fromUtf8(report.readAllStandardOutput()));
  }

  // The calendar and the progress chart name the era in their titles, open
  // before the era is chosen or after; the chart's picture names it and the file.
  void sideWindowsNameTheEra() {
    const QString recordFile = writeTypistFile(*dir, 300);
    auto window = start({recordFile});
    window->findChild<QAction*>(u"Calendar1"_s)->trigger();  // open before the era is chosen
    const auto chooseEra = [&](bool from) {
      onNextModal<EraDialog>([from](EraDialog* dialog) {
        dialog->FromCheck->setChecked(from);
        dialog->FromDate->setDate(QDate(2024, 3, 1));
        dialog->BitBtn1->click();
      });
      window->findChild<QAction*>(u"Era1"_s)->trigger();
    };
    chooseEra(true);
    window->findChild<QAction*>(u"Progress1"_s)->trigger();  // open after
    auto* calendar = window->findChild<QDialog*>(u"frmCalendar"_s);
    auto* progress = window->findChild<ProgressWindow*>(u"frmProgress"_s);
    QVERIFY(calendar && progress);
    const struct {
      bool era;
      QString calendarTitle, progressTitle;
    } cases[] = {
        {true, u"練習カレンダー (2024/03/01 以降)"_s, u"進歩グラフ (2024/03/01 以降)"_s},
        {false, u"練習カレンダー"_s, u"進歩グラフ"_s},
    };
    for (const auto& c : cases) {
      if (!c.era) chooseEra(false);
      QCOMPARE(calendar->windowTitle(), c.calendarTitle);
      QCOMPARE(progress->windowTitle(), c.progressTitle);
      QCOMPARE(progress->pictureTitle().contains(u" ・ 2024/03/01 以降 ・ "_s), c.era);
      QVERIFY(progress->pictureTitle().endsWith(u" ・ "_s + QFileInfo(recordFile).fileName()));
    }
  }
};

QTEST_MAIN(EraWindowTest)
#include "EraWindowTest.moc"
