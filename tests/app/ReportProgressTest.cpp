// hoko32-report --view progress: the rows of a small record file, worked out
// by hand, and a bad --window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QProcess>

#include "support/QtPrinters.h"
#include "support/RecordLines.h"
#include "support/TempDir.h"
#include "viewer/CsvReader.h"

using namespace Qt::StringLiterals;

namespace {

class ReportProgressTest : public testing::Test {
 protected:
  ReportProgressTest() {
    recordPath =
        dir.write(u"記録.ｷﾛｸ"_s, QByteArray::fromStdString(recordLine(ModeRomaji, 2023, 4, 5, 9, 0, 0, 200, 4) +
                                                           recordLine(ModeKana, 2023, 4, 5, 9, 9, 0, 150, 30) +
                                                           recordLine(ModeRomaji, 2023, 5, 2, 20, 0, 0, 180, 25) +
                                                           recordLine(ModeRomaji, 2023, 5, 3, 8, 0, 0, 220, 0)));
  }

  QProcess& run(const QStringList& arguments) {
    process.start(QString::fromUtf8(HOKO32_REPORT_EXE),
                  QStringList{u"--settings"_s, dir.file(u"settings.ini"_s), recordPath} + arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return process;
  }

  std::vector<QStringList> csv(const QStringList& arguments) {
    const QByteArray out = run(arguments).readAllStandardOutput();
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return readCsv(QString::fromUtf8(out.mid(3))).value_or(std::vector<QStringList>{});  // after the byte-order mark
  }

  TempDir dir;
  QString recordPath;
  QProcess process;
};

TEST_F(ReportProgressTest, CsvRowsOfWindowTwo) {
  const QStringList header = u"date,time,hits,misses,mean_hits,miss_rate,mean_miss_rate,best_so_far"_s.split(u',');
  // Miss rates 4/204 = .0196, 25/205 = .1220, 0; their means over two runs .0708 and .0610.
  EXPECT_EQ(csv({u"--view"_s, u"progress"_s, u"--window"_s, u"2"_s, u"--mode"_s, u"R"_s, u"--format"_s, u"csv"_s}),
            (std::vector<QStringList>{
                header,
                u"2023-04-05,09:00:00,200,4,200.0000,0.0196,0.0196,200"_s.split(u','),
                u"2023-05-02,20:00:00,180,25,190.0000,0.1220,0.0708,200"_s.split(u','),
                u"2023-05-03,08:00:00,220,0,200.0000,0.0000,0.0610,220"_s.split(u','),
            }));
  // Every mode: the kana run (30/180 = .1667) comes second, in file order.
  const auto all = csv({u"--view"_s, u"progress"_s, u"--window=2"_s, u"--all-modes"_s, u"--format"_s, u"csv"_s});
  ASSERT_EQ(all.size(), 5u);
  EXPECT_EQ(all[2], u"2023-04-05,09:09:00,150,30,175.0000,0.1667,0.0931,200"_s.split(u','));
}

// An era of two days is compared with as many days before it: 2023-05-02..03
// (mean 200) against 2023-04-30..05-01 (no run), then 05-03 alone (220)
// against 05-02 (180): +22.2%.
TEST_F(ReportProgressTest, AnEraOfTwoDaysGivesTheChangeAgainstTheDaysBefore) {
  const auto text = [this](const QString& since, const QString& until) {
    return QString::fromUtf8(
        run({u"--view"_s, u"progress"_s, u"--mode"_s, u"R"_s, u"--since"_s, since, u"--until"_s, until})
            .readAllStandardOutput());
  };
  EXPECT_FALSE(text(u"2023-05-02"_s, u"2023-05-03"_s).contains(u"前の期間より"_s));
  EXPECT_TRUE(text(u"2023-05-03"_s, u"2023-05-03"_s).endsWith(u"平均ミス率: 0.00%\n前の期間より +22.2%\n"_s));
}

TEST_F(ReportProgressTest, BadWindowIsAUsageError) {
  for (const QStringList& arguments : {QStringList{u"--view"_s, u"progress"_s, u"--window"_s, u"0"_s},
                                       QStringList{u"--view"_s, u"progress"_s, u"--window"_s, u"ten"_s},
                                       QStringList{u"--view"_s, u"best"_s, u"--window"_s, u"5"_s}}) {
    QProcess& p = run(arguments);
    EXPECT_EQ(p.exitCode(), 2) << arguments.join(u' ').toStdString();
    EXPECT_THAT(p.readAllStandardError().toStdString(), testing::HasSubstr("--window"));
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
  }
}

}  // namespace
