// hoko32-report --format csv|json end to end, on a record file whose name has
// double-byte characters.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "platform/ShiftJis.h"
#include "support/QtPrinters.h"
#include "support/RecordLines.h"
#include "support/TempDir.h"
#include "viewer/CsvReader.h"

using namespace Qt::StringLiterals;

namespace {

const QByteArray Bom = "\xEF\xBB\xBF";

class ReportExportTest : public testing::Test {
 protected:
  ReportExportTest() {
    recordPath =
        dir.write(u"記録.ｷﾛｸ"_s, QByteArray::fromStdString(recordLine(ModeRomaji, 2023, 4, 5, 9, 0, 0, 200, 4) +
                                                           recordLine(ModeKana, 2023, 4, 5, 9, 9, 0, 150, 30) +
                                                           recordLine(ModeRomaji, 2023, 5, 2, 20, 0, 0, 180, 25)));
  }

  QByteArray report(const QStringList& arguments, int status = 0) {
    QProcess process;
    process.start(QString::fromUtf8(HOKO32_REPORT_EXE), QStringList{u"--settings"_s, dir.file(u"settings.ini"_s),
                                                                    u"--now"_s, u"2023-05-02 21:00:00"_s, recordPath} +
                                                            arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), status) << arguments.join(u' ').toStdString();
    if (status != 0) {
      EXPECT_THAT(process.readAllStandardError().toStdString(), testing::HasSubstr("--format"));
    }
    return process.readAllStandardOutput();
  }

  TempDir dir;
  QString recordPath;
};

TEST_F(ReportExportTest, RunsCsvInBothEncodingsHoldsTheSameRows) {
  const QByteArray utf8 = report({u"--format"_s, u"csv"_s, u"--runs"_s});
  ASSERT_TRUE(utf8.startsWith(Bom));
  const auto rows = readCsv(QString::fromUtf8(utf8.mid(Bom.size())));
  ASSERT_TRUE(rows && rows->size() == 4);
  EXPECT_EQ((*rows)[2], (QStringList{u"1"_s, u"カナ"_s, u"2023-04-05"_s, u"09:09:00"_s, u"150"_s, u"30"_s}));
  const QByteArray sjis = report({u"--format"_s, u"csv"_s, u"--runs"_s, u"--encoding"_s, u"sjis"_s});
  EXPECT_EQ(readCsv(ShiftJis::decode(sjis).value_or(QString())), rows) << "no byte-order mark, the same rows";
}

// The marks draw the text chart only: a comma and a quote leave every table
// whole and reach no field.
TEST_F(ReportExportTest, MarksNeverReachTheTables) {
  for (const QString& view : {u"history"_s, u"graph"_s, u"average"_s, u"miss"_s, u"best"_s}) {
    const auto rows = readCsv(QString::fromUtf8(
        report({u"--format"_s, u"csv"_s, u"--view"_s, view, u"--hit-mark"_s, u","_s, u"--miss-mark"_s, u"\""_s})
            .mid(Bom.size())));
    ASSERT_TRUE(rows && rows->size() >= 2) << view.toStdString();
    for (const QStringList& row : *rows) {
      EXPECT_EQ(row.size(), rows->front().size()) << view.toStdString();
      EXPECT_FALSE(row.join(QString()).contains(u',') || row.join(QString()).contains(u'"')) << view.toStdString();
    }
  }
}

TEST_F(ReportExportTest, JsonNamesTheFileModeAndRequestedViews) {
  const QJsonObject json =
      QJsonDocument::fromJson(report({u"--format"_s, u"json"_s, u"--view"_s, u"best"_s, u"--mode"_s, u"K"_s})).object();
  EXPECT_EQ(json.keys(), (QStringList{u"best"_s, u"file"_s, u"mode"_s, u"options"_s}));
  EXPECT_EQ(json[u"file"_s].toString(), u"記録.ｷﾛｸ"_s);
  EXPECT_EQ(json[u"mode"_s].toObject(), (QJsonObject{{u"code"_s, 1}, {u"name"_s, u"カナ"_s}}));
  EXPECT_EQ(QJsonDocument::fromJson(report({u"--format"_s, u"json"_s})).object().size(), 8) << "all five views";
}

TEST_F(ReportExportTest, CalendarCsvHasOneRowPerPracticeDay) {
  const QByteArray romaji = report({u"--format"_s, u"csv"_s, u"--view"_s, u"calendar"_s});
  ASSERT_TRUE(romaji.startsWith(Bom));
  EXPECT_EQ(readCsv(QString::fromUtf8(romaji.mid(Bom.size()))),
            (std::vector<QStringList>{
                {u"date"_s, u"runs"_s, u"best_hits"_s, u"average_hits"_s, u"average_misses"_s, u"personal_best"_s},
                {u"2023-04-05"_s, u"1"_s, u"200"_s, u"200.0"_s, u"4.0"_s, u"1"_s},
                {u"2023-05-02"_s, u"1"_s, u"180"_s, u"180.0"_s, u"25.0"_s, u"0"_s}}));
  const auto all = readCsv(QString::fromUtf8(
      report({u"--format"_s, u"csv"_s, u"--view"_s, u"calendar"_s, u"--all-modes"_s}).mid(Bom.size())));
  ASSERT_TRUE(all && all->size() == 3);
  EXPECT_EQ((*all)[1], (QStringList{u"2023-04-05"_s, u"2"_s, u"200"_s, u"175.0"_s, u"17.0"_s, u"1"_s}));
}

TEST_F(ReportExportTest, CalendarJsonHoldsTheFiguresAndDays) {
  const QJsonObject json = QJsonDocument::fromJson(report({u"--format"_s, u"json"_s, u"--view"_s, u"calendar"_s,
                                                           u"--all-modes"_s, u"--view"_s, u"graph"_s}))
                               .object();
  EXPECT_EQ(json.keys(), (QStringList{u"calendar"_s, u"file"_s, u"graph"_s, u"mode"_s, u"options"_s}));
  QJsonObject calendar = json[u"calendar"_s].toObject();
  const QJsonArray days = calendar.take(u"days"_s).toArray();
  const QJsonObject lastDay{{u"days"_s, 1}, {u"first"_s, u"2023-05-02"_s}, {u"last"_s, u"2023-05-02"_s}};
  EXPECT_EQ(calendar, (QJsonObject{{u"mode"_s, QJsonValue()},
                                   {u"today"_s, u"2023-05-02"_s},
                                   {u"current_streak"_s, lastDay},
                                   {u"longest_streak"_s, lastDay},
                                   {u"days_this_year"_s, 2},
                                   {u"practice_days"_s, 2},
                                   {u"total_runs"_s, 3},
                                   {u"busiest_day"_s, QJsonObject{{u"date"_s, u"2023-04-05"_s}, {u"runs"_s, 2}}}}));
  ASSERT_EQ(days.size(), 2);
  EXPECT_EQ(days[0].toObject(), (QJsonObject{{u"date"_s, u"2023-04-05"_s},
                                             {u"runs"_s, 2},
                                             {u"best_hits"_s, 200},
                                             {u"average_hits"_s, 175.0},
                                             {u"average_misses"_s, 17.0},
                                             {u"personal_best"_s, true}}));
  EXPECT_EQ(days[1][u"personal_best"_s], false);

  const QJsonObject kana = QJsonDocument::fromJson(report({u"--format"_s, u"json"_s, u"--view"_s, u"calendar"_s,
                                                           u"--mode"_s, u"K"_s, u"--now"_s, u"2023-04-08 00:00:00"_s}))
                               .object()[u"calendar"_s]
                               .toObject();
  EXPECT_EQ(kana[u"mode"_s].toObject(), (QJsonObject{{u"code"_s, 1}, {u"name"_s, u"カナ"_s}}));
  EXPECT_EQ(kana[u"current_streak"_s].toObject(),
            (QJsonObject{{u"days"_s, 0}, {u"first"_s, QJsonValue()}, {u"last"_s, QJsonValue()}}));
}

TEST_F(ReportExportTest, FormatUsageErrorsAndTheUnchangedText) {
  EXPECT_EQ(report({u"--format"_s, u"csv"_s}, 2), QByteArray());
  EXPECT_EQ(report({u"--format"_s, u"json"_s, u"--encoding"_s, u"sjis"_s}, 2), QByteArray());
  EXPECT_EQ(report({u"--format"_s, u"text"_s}), report({}));
}

}  // namespace
