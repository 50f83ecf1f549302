// The era chosen in the main window's dialog: the history pane equals the
// report tool's with --since, and the title names the era.
#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

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
};

QTEST_MAIN(EraWindowTest)
#include "EraWindowTest.moc"
