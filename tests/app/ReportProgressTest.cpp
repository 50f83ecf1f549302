// hoko32-report --view progress: the rows of a small record file, worked out
// by hand, and a bad --window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QProcess>

#include <utility>

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

// Nothing outside the era is read: the report shows the whole era, and no
// range of its length before it lies inside the era, so there is no change
// line, though 2023-05-02 (180 hits) lies just before an era of 2023-05-03.
TEST_F(ReportProgressTest, AnEraIsNotComparedWithTheDaysBeforeIt) {
  for (const auto& [since, until] : {std::pair(u"2023-05-03"_s, u"2023-05-03"_s), std::pair(u"2023-04-05"_s, u""_s)}) {
    QStringList arguments{u"--view"_s, u"progress"_s, u"--mode"_s, u"R"_s, u"--since"_s, since};
    if (!until.isEmpty()) arguments << u"--until"_s << until;
    const QString text = QString::fromUtf8(run(arguments).readAllStandardOutput());
    EXPECT_TRUE(text.section(u'\n', -2, -2).startsWith(u"平均ミス率: "_s)) << text.toStdString();
    EXPECT_FALSE(text.contains(u"前の期間より"_s)) << since.toStdString();
    const QString json =
        QString::fromUtf8(run(arguments + QStringList{u"--format"_s, u"json"_s}).readAllStandardOutput());
    EXPECT_TRUE(json.contains(u"\"mean_hits\""_s) && !json.contains(u"change_percent"_s)) << since.toStdString();
  }
}

// The text's rows give the miss rates as percentages, as its figures do.
TEST_F(ReportProgressTest, TextRowsGiveRatesAsPercentages) {
  const QStringList lines =
      QString::fromUtf8(
          run({u"--view"_s, u"progress"_s, u"--window"_s, u"2"_s, u"--mode"_s, u"R"_s}).readAllStandardOutput())
          .split(u'\n');
  ASSERT_EQ(lines.size(), 11) << lines.join(u'\n').toStdString();
  EXPECT_EQ(lines[0], u"<<ローマ字の進歩グラフ (平均の回数 2回) >>"_s);
  EXPECT_EQ(lines[1], u"日付       時刻      打数 ミス   平均打数   ミス率 平均ミス率  最高"_s);
  EXPECT_EQ(lines[2], u"2023-04-05 09:00:00   200    4   200.0000    1.96%      1.96%   200"_s);
  EXPECT_EQ(lines[3], u"2023-05-02 20:00:00   180   25   190.0000   12.20%      7.08%   200"_s);
  EXPECT_EQ(lines[4], u"2023-05-03 08:00:00   220    0   200.0000    0.00%      6.10%   220"_s);
  EXPECT_EQ(lines.mid(5), (QStringList{u"回数: 3回"_s, u"練習日数: 3日"_s, u"平均打数: 200.0"_s, u"最高打数: 220"_s,
                                       u"平均ミス率: 4.72%"_s, QString()}));
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
