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
