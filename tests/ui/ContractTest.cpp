// The contract between the two faces of the viewer: for each setting of a
// table, the text the window shows in each pane (read off its real widgets)
// equals the report tool's output for the same settings file and options,
// byte for byte.
#include <QAction>
#include <QDate>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include <memory>

#include "settings/SettingsFile.h"
#include "support/TempDir.h"
#include "support/TypistFile.h"
#include "ui/FontNames.h"
#include "ui/MessageBoxes.h"
#include "ui/TfrmMain.h"

using namespace Qt::StringLiterals;

namespace {

struct Setting {
  const char* name;
  QList<QPair<QString, QString>> stored;  // [Option] keys of the settings file
  bool noMiss = false;                    // menu items, which the settings file does not keep
  bool levelUp = false;
  int periodTag = 1;  // the average tab's period button: 1 day ... 5 count
};

const char* const ViewNames[] = {"history", "graph", "average", "miss", "best"};
const char* const PeriodNames[] = {"", "day", "week", "month", "year", "count"};
const char* const PeriodButtonNames[] = {"", "ButtonDay", "ButtonWeek", "ButtonMonth", "ButtonYear", "ButtonCount"};

// The clock of the ranking's header: the window reads it when it fills the
// pane, the report tool when it is told (--now). The one difference allowed.
QString withoutClock(QString text) {
  static const QRegularExpression clock(u"\\d{1,2}:\\d\\d:\\d\\d 現在"_s);
  return text.replace(clock, u"hh:nn:ss 現在"_s);
}

}  // namespace

class ContractTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() {
    FontNames::installSubstitutions();
    MessageBoxes::setHandler([](const QString&) {});  // the no-miss option's note on the miss tab
  }
  void cleanupTestCase() { MessageBoxes::setHandler(nullptr); }

  void panesEqualTheReportTool_data() {
    QTest::addColumn<int>("row");
    for (int row = 0; row < int(settings().size()); ++row) QTest::newRow(settings()[std::size_t(row)].name) << row;
  }

  void panesEqualTheReportTool() {
    QFETCH(int, row);
    const Setting& setting = settings()[std::size_t(row)];
    TempDir dir;
    const QString recordFile = writeTypistFile(dir, 900);
    const QString settingsPath = dir.file(u"hoko32.ini"_s);
    SettingsFile file(settingsPath);
    for (const auto& [key, value] : setting.stored) QVERIFY(file.writeText(u"Option"_s, key, value));

    TfrmMain window(StartupContext{settingsPath, dir.path() + u'/', dir.path(), {recordFile}});
    if (setting.noMiss) window.findChild<QAction*>(u"Nomiss1"_s)->trigger();
    if (setting.levelUp) window.findChild<QAction*>(u"Level1"_s)->trigger();
    auto* pages = window.findChild<QTabWidget*>(u"PageControl1"_s);
    for (int view = 0; view < ViewCount; ++view) {
      pages->setCurrentIndex(view);
      if (view == ViewAverage && setting.periodTag != 1)
        window.findChild<QToolButton*>(QString::fromLatin1(PeriodButtonNames[setting.periodTag]))->click();
      // Under the no-miss option the window shows no miss pane: there is nothing to compare.
      if (view == ViewMiss && setting.noMiss) continue;
      const QString pane = window.findChild<QPlainTextEdit*>(u"Memo%1"_s.arg(view + 1))->toPlainText();

      QStringList options;
      if (setting.noMiss) options << u"--nomiss"_s;
      if (setting.levelUp) options << u"--levelup"_s;
      options << u"--period"_s << QString::fromLatin1(PeriodNames[setting.periodTag]);
      QCOMPARE(withoutClock(pane + u'\n'), withoutClock(reportText(settingsPath, recordFile, View(view), options)));
    }
  }

  // What the window shows that the report tool cannot express, each by name.
  void panesTheReportCannotExpress() {
    TempDir dir;
    const QString recordFile = writeTypistFile(dir, 900);
    const QString settingsPath = dir.file(u"hoko32.ini"_s);
    TfrmMain window(StartupContext{settingsPath, dir.path() + u'/', dir.path(), {recordFile}});
    auto* pages = window.findChild<QTabWidget*>(u"PageControl1"_s);
    const auto pane = [&window](View view) {
      return window.findChild<QPlainTextEdit*>(u"Memo%1"_s.arg(view + 1))->toPlainText() + u'\n';
    };
    pages->setCurrentIndex(ViewBest);
    pages->setCurrentIndex(ViewAverage);
    window.findChild<QAction*>(u"Nomiss1"_s)->trigger();

    // A pane left stale: the no-miss option, switched on over the averages,
    // recomputes only them; the ranking keeps the pass before until a command
    // recomputes it (a tab change does not, as the pane is not empty).
    pages->setCurrentIndex(ViewBest);
    QCOMPARE(withoutClock(pane(ViewBest)), withoutClock(reportText(settingsPath, recordFile, ViewBest, {})));
    QVERIFY(withoutClock(pane(ViewBest)) !=
            withoutClock(reportText(settingsPath, recordFile, ViewBest, {u"--nomiss"_s})));
    QCOMPARE(pane(ViewAverage), reportText(settingsPath, recordFile, ViewAverage, {u"--nomiss"_s}));

    // A hidden pane: under the no-miss option the worst ten are not shown at all.
    QVERIFY(window.findChild<QPlainTextEdit*>(u"Memo4"_s)->isHidden());
  }

 private:
  static QString reportText(const QString& settingsPath, const QString& recordFile, View view,
                            const QStringList& options) {
    QStringList arguments{u"--settings"_s, settingsPath,
                          u"--view"_s,     QString::fromLatin1(ViewNames[view]),
                          u"--now"_s,      QDate::currentDate().toString(u"yyyy-MM-dd"_s) + u" 12:00:00"_s};
    QProcess report;
    report.start(QString::fromUtf8(HOKO32_REPORT_EXE), arguments + options + QStringList{recordFile});
    if (!report.waitForFinished(60000) || report.exitCode() != 0) return u"(the report tool failed)"_s;
    return QString::fromUtf8(report.readAllStandardOutput());
  }

  static const std::vector<Setting>& settings() {
    static const std::vector<Setting> table = {
        {"stored defaults", {}},
        {"alphabet, ten newest, marks # and -",
         {{u"Default Type"_s, u"0"_s}, {u"Recent"_s, u"10"_s}, {u"HitMark"_s, u"#"_s}, {u"MissMark"_s, u"-"_s}}},
        {"kana, no-miss", {{u"Default Type"_s, u"1"_s}}, true},
        {"symbols, level-up only, per week", {{u"Default Type"_s, u"3"_s}}, false, true, 2},
        {"romaji, averages per month with filters",
         {{u"MaxMiss"_s, u"8"_s}, {u"MaxHitMiss"_s, u"150"_s}},
         false,
         false,
         3},
        {"averages per 7 runs", {{u"CountInterval"_s, u"7"_s}}, false, false, 5},
        {"ranking of 30, ties with fewer misses above", {{u"RankCount"_s, u"30"_s}, {u"MissEval"_s, u"0"_s}}},
        {"per year, no-miss and level-up", {{u"Default Type"_s, u"2"_s}}, true, true, 4},
    };
    return table;
  }
};

QTEST_MAIN(ContractTest)
#include "ContractTest.moc"
