// An era (--since, --until) gives every view, the runs, the calendar and the exports
// as the report gives them for a copy of the record file holding only the era's days.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "support/ReportToolFixture.h"
#include "tools/RecordFileGenerator.h"

namespace {

TEST_F(ReportToolTest, AnEraCountsAsTheFileWithoutTheOtherDays) {
  GeneratorOptions generator;
  generator.runs = 900;
  generator.start = {2023, 1, 1};
  generator.newestDay = DayCount::CivilDate{2023, 12, 20};
  generator.keepStart = true;
  std::vector<GeneratedRun> runs = generateRuns(generator);
  // Mid-file, out of date order, a romaji best of before every era: each era from 2023 on
  // starts with lower records, and the era's runs lie in no single stretch of the file.
  runs.insert(runs.begin() + 450, GeneratedRun{ModeRomaji, {2022, 12, 1}, {0, 0, 0}, 990, 0});
  const QString whole = dir.write(u"run.ｷﾛｸ"_s, QByteArray::fromStdString(recordFileBytes(runs)));
  const QDate eras[][2] = {{QDate(2023, 6, 15), {}},
                           {{}, QDate(2023, 5, 20)},
                           {QDate(2023, 5, 1), QDate(2023, 7, 31)},
                           {QDate(2023, 10, 1), QDate(2023, 12, 31)},
                           {QDate(2030, 1, 1), QDate(2030, 12, 31)}};
  const QStringList asked[] = {{u"--runs"_s},
                               {u"--copy"_s, u"--mode"_s, u"A"_s, u"--period"_s, u"week"_s},
                               {u"--view"_s, u"calendar"_s, u"--all-modes"_s},
                               {u"--mode"_s, u"!"_s, u"--view"_s, u"calendar"_s, u"--view"_s, u"best"_s},
                               {u"--format"_s, u"csv"_s, u"--runs"_s},
                               {u"--format"_s, u"csv"_s, u"--view"_s, u"history"_s, u"--nomiss"_s},
                               {u"--format"_s, u"json"_s, u"--runs"_s, u"--period"_s, u"month"_s},
                               // The means, the best so far and the figures of the era's runs alone,
                               // with no change against days outside it.
                               {u"--view"_s, u"progress"_s, u"--mode"_s, u"A"_s, u"--window"_s, u"7"_s},
                               {u"--format"_s, u"json"_s, u"--view"_s, u"progress"_s, u"--all-modes"_s}};
  int copies = 0;
  for (const auto& [since, until] : eras) {
    std::vector<GeneratedRun> kept;
    for (const GeneratedRun& r : runs) {
      const QDate day(r.date.year, r.date.month, r.date.day);
      if ((since.isNull() || day >= since) && (until.isNull() || day <= until)) kept.push_back(r);
    }
    // A folder of its own per copy, the file named alike (the JSON names it).
    const QString folder = u"era%1"_s.arg(++copies);
    ASSERT_TRUE(QDir(dir.path()).mkpath(folder));
    const QString copy = dir.write(folder + u"/run.ｷﾛｸ"_s, QByteArray::fromStdString(recordFileBytes(kept)));
    QStringList era;
    if (since.isValid()) era << u"--since"_s << since.toString(u"yyyy-MM-dd"_s);
    if (until.isValid()) era << u"--until"_s << until.toString(u"yyyy-MM-dd"_s);
    for (const QStringList& arguments : asked) {
      const Result expected = report(arguments + QStringList{copy});
      const Result got = report(era + arguments + QStringList{whole});
      ASSERT_EQ(expected.status, 0) << expected.err.toStdString();
      EXPECT_EQ(got.status, 0);
      EXPECT_TRUE(got.out == expected.out) << (era + arguments).join(u' ').toStdString();
    }
  }
  EXPECT_EQ(report({u"--since"_s, u"2023-02-30"_s, whole}).status, 2) << "a day that does not exist";

  // An era the settings file keeps applies unless --all-days sets it aside.
  const QByteArray everyRun = report({u"--view"_s, u"history"_s, whole}).out;
  QFile stored(settingsPath);
  ASSERT_TRUE(stored.open(QIODevice::WriteOnly));
  stored.write("[Option]\r\nEraFrom=2023/06/15\r\n");
  stored.close();
  EXPECT_EQ(report({u"--view"_s, u"history"_s, whole}).out,
            report({u"--view"_s, u"history"_s, u"--since"_s, u"2023-06-15"_s, whole}).out);
  EXPECT_EQ(report({u"--all-days"_s, u"--view"_s, u"history"_s, whole}).out, everyRun);
}

// An era the settings file keeps that cannot be read, or that ends before it
// starts, is told on standard error and counts as no era on that side; an era
// that --since or --until would turn round is a usage error.
TEST_F(ReportToolTest, AnEraThatCannotBeReadOrEndsBeforeItStartsIsTold) {
  GeneratorOptions generator;
  generator.runs = 200;
  generator.start = {2023, 1, 1};
  generator.newestDay = DayCount::CivilDate{2023, 12, 20};
  generator.keepStart = true;
  const QString file = dir.write(u"run.ｷﾛｸ"_s, QByteArray::fromStdString(recordFileBytes(generateRuns(generator))));
  const QStringList history{u"--view"_s, u"history"_s};
  const QByteArray everyRun = report({u"--all-days"_s, u"--view"_s, u"history"_s, file}).out;
  const QByteArray upToJune = report({u"--until"_s, u"2023-06-01"_s, u"--view"_s, u"history"_s, file}).out;
  ASSERT_NE(everyRun, upToJune);
  const struct {
    QByteArray stored;
    QStringList arguments;
    QString message;  // on standard error
    QByteArray out;   // none: a usage error
  } cases[] = {
      {"EraFrom=2023/13/01\r\n", history,
       u"設定ファイルの集計の開始日 EraFrom=2023/13/01 は日付として読めません。開始日を決めずに集計します。"_s,
       everyRun},
      {"EraFrom=0001/01/01\r\nEraTo=2023/06/01\r\n", history, u"EraFrom=0001/01/01 は日付として読めません"_s, upToJune},
      {"EraTo=yesterday\r\n", history, u"集計の終了日 EraTo=yesterday は日付として読めません"_s, everyRun},
      {"EraFrom=2023/07/01\r\nEraTo=2023/06/01\r\n", history,
       u"設定ファイルの集計の期間 2023/07/01 ～ 2023/06/01 は終了日が開始日より前です。"
       u"期間を決めずにすべての記録を集計します。"_s,
       everyRun},
      // The era read as none: --until is not weighed against its first day.
      {"EraFrom=2023/07/01\r\nEraTo=2023/06/01\r\n", QStringList{u"--until"_s, u"2023-06-01"_s} + history,
       u"終了日が開始日より前です"_s, upToJune},
      {"EraTo=2023/06/01\r\n",
       QStringList{u"--since"_s, u"2023-07-01"_s} + history,
       u"--since 2023-07-01 is after the last day of the era the settings file keeps (2023-06-01)"_s,
       {}},
      {"EraFrom=2023/07/01\r\n",
       QStringList{u"--until"_s, u"2023-06-01"_s} + history,
       u"--until 2023-06-01 is before the first day of the era the settings file keeps (2023-07-01)"_s,
       {}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(dir.write(u"settings.ini"_s, "[Option]\r\n" + c.stored), settingsPath);
    const Result got = report(c.arguments + QStringList{file});
    EXPECT_EQ(got.status, c.out.isEmpty() ? 2 : 0) << c.stored.toStdString();
    EXPECT_TRUE(got.err.contains(c.message)) << c.stored.toStdString() << " -> " << got.err.toStdString();
    EXPECT_TRUE(got.out == c.out) << c.stored.toStdString();
  }
}

}  // namespace
