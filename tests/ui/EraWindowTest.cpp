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

#include "era/EraDialog.h"
#include "progress/ProgressWindow.h"
#include "support/MainWindowFixture.h"
#include "support/ModalDialogs.h"
#include "support/TypistFile.h"
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
    for (const bool era : {true, false}) {
      if (!era) chooseEra(false);
      const QString named = era ? u" (2024/03/01 以降)"_s : QString();
      QCOMPARE(calendar->windowTitle(), u"練習カレンダー"_s + named);
      QCOMPARE(progress->windowTitle(), u"進歩グラフ"_s + named);
      QCOMPARE(progress->pictureTitle().contains(u" ・ 2024/03/01 以降 ・ "_s), era);
      QVERIFY(progress->pictureTitle().endsWith(u" ・ "_s + QFileInfo(recordFile).fileName()));
    }
  }

  // The dialog does not take an era that ends before it starts: OK is greyed,
  // the reason stands below the dates, and Enter does not close it either.
  void dialogRefusesAnEraThatEndsBeforeItStarts() {
    const struct {
      bool fromChecked, toChecked;
      QDate from, to;
      bool acceptable;
    } cases[] = {
        {true, true, QDate(2024, 3, 2), QDate(2024, 3, 1), false},
        {true, true, QDate(2024, 3, 1), QDate(2024, 3, 1), true},
        {false, true, QDate(2024, 3, 2), QDate(2024, 3, 1), true},  // no first day: any last day
        {true, false, QDate(2024, 3, 2), QDate(2024, 3, 1), true},
        {true, true, QDate(9999, 12, 31), QDate(1752, 9, 14), false},
    };
    for (const auto& c : cases) {
      EraDialog dialog;
      dialog.setEra({}, {}, QDate(2024, 1, 1));
      dialog.show();
      dialog.FromCheck->setChecked(c.fromChecked);
      dialog.ToCheck->setChecked(c.toChecked);
      dialog.FromDate->setDate(c.from);
      dialog.ToDate->setDate(c.to);
      const QByteArray what = (c.from.toString() + u" ～ "_s + c.to.toString()).toUtf8();
      QVERIFY2(dialog.BitBtn1->isEnabled() == c.acceptable, what.constData());
      QVERIFY2(dialog.lblEraError->isVisible() == !c.acceptable, what.constData());
      QCOMPARE(dialog.lblEraError->text(), u"終了日が開始日より前です。"_s);
      QTest::keyClick(&dialog, Qt::Key_Return);
      QVERIFY2(dialog.result() == (c.acceptable ? QDialog::Accepted : 0), what.constData());
    }
    // An era shown the wrong way round (from a settings file of old) opens with the reason.
    EraDialog dialog;
    dialog.setEra(QDate(2024, 3, 2), QDate(2024, 3, 1), QDate(2024, 1, 1));
    QVERIFY(!dialog.BitBtn1->isEnabled());
  }

  // A settings file whose era cannot be read, or ends before it starts, is
  // told once at the start; the window counts no era on that side.
  void storedEraThatCannotBeTakenIsToldOnceAtTheStart() {
    const QString recordFile = writeTypistFile(*dir, 300);
    const struct {
      QByteArray stored;
      QString message;
      QString era;  // as the title shows it
    } cases[] = {
        {"EraFrom=2024/03/02\r\nEraTo=2024/03/01\r\n",
         u"設定ファイルの集計の期間 2024/03/02 ～ 2024/03/01 は終了日が開始日より前です。"
         u"期間を決めずにすべての記録を集計します。"_s,
         {}},
        {"EraFrom=2024/3/1x\r\nEraTo=2024/03/01\r\n",
         u"設定ファイルの集計の開始日 EraFrom=2024/3/1x は日付として読めません。開始日を決めずに集計します。"_s,
         u" (2024/03/01 まで)"_s},
    };
    for (const auto& c : cases) {
      QCOMPARE(dir->write(u"hoko32.ini"_s, "[Option]\r\n" + c.stored), settingsPath());
      messages.clear();
      auto window = start({recordFile});
      QCOMPARE(messages, QStringList{c.message});
      QCOMPARE(window->windowTitle(), u"ＴＡＰＰＥＲの足跡32"_s + c.era);
      window->close();
    }
  }
};

QTEST_MAIN(EraWindowTest)
#include "EraWindowTest.moc"
