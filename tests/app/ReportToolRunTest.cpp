// The report tool as a program: the runs it prints, usage errors and the
// record file it never writes. What needs system limits, /dev/full, symbolic
// links or LF line ends on standard error is in ReportToolTest.cpp.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "settings/SettingsFile.h"
#include "settings/StoredSizes.h"
#include "support/RecordLines.h"
#include "support/ReportToolFixture.h"

namespace {

TEST_F(ReportToolTest, RunsOfTheBundledSample) {
  dir.write(u"sample.ｷﾛｸ"_s, [] {
    QFile f(QString::fromUtf8(HOKO32_SAMPLE_FILE));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }());
  const QString sample = dir.file(u"sample.ｷﾛｸ"_s);
  const Result first = report({u"--runs"_s, sample});
  ASSERT_EQ(first.status, 0) << first.err.toStdString();
  EXPECT_EQ(first.err, QString());
  const QList<QByteArray> lines = first.runs().split('\n');
  ASSERT_EQ(lines.size(), 4001) << "the sample's 4000 runs";
  EXPECT_TRUE(first.out.contains("==== best\n")) << "then the five views";
  EXPECT_TRUE(QFile::exists(dir.file(u"sample.hok"_s)));

  const Result second = report({u"--runs"_s, sample});
  EXPECT_EQ(second.out, first.out) << "the cached load shows the same runs";
  SettingsFile settings(settingsPath);
  EXPECT_EQ(settings.readInteger(u"FileSize"_s, StoredSizes::keyFor(sample), 0), QFile(sample).size());
}

TEST_F(ReportToolTest, RelativeRecordPathIsKeyedByItsFullPath) {
  writeRecords(recordLine(ModeRomaji, 2023, 4, 5, 7, 8, 9, 210, 7));
  QProcess process;
  process.setWorkingDirectory(dir.path());
  process.start(QString::fromUtf8(HOKO32_REPORT_EXE), {u"--settings"_s, settingsPath, u"--runs"_s, u"run.ｷﾛｸ"_s});
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_EQ(SettingsFile(settingsPath).readInteger(u"FileSize"_s, StoredSizes::keyFor(recordPath), 0), 46);
}

TEST_F(ReportToolTest, UsageErrorsExitWithStatusTwo) {
  for (const QStringList& arguments :
       {QStringList{u"--bogus"_s, u"f"_s}, QStringList{u"--mode"_s, u"Z"_s, u"f"_s}, QStringList{}}) {
    const Result r = report(arguments, false);
    EXPECT_EQ(r.status, 2) << arguments.join(u' ').toStdString();
    EXPECT_THAT(r.err.toStdString(), testing::HasSubstr("hoko32-report: "));
    EXPECT_EQ(r.out, QByteArray());
  }
  const Result help = report({u"--help"_s}, false);
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.startsWith("usage: hoko32-report [OPTIONS] RECORD_FILE\n"));
  EXPECT_EQ(report({u"-h"_s}, false).out, help.out);
  // A bad value names the range the help gives.
  const Result rank = report({u"--rank-count"_s, u"many"_s, u"f"_s}, false);
  EXPECT_EQ(rank.status, 2);
  EXPECT_THAT(rank.err.toStdString(), testing::HasSubstr("1..1000"));
  EXPECT_TRUE(help.out.contains("held to 1..1000"));
  const Result version = report({u"--version"_s}, false);
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.startsWith("hoko32-report "));
}

TEST_F(ReportToolTest, ToolNeverWritesTheRecordFile) {
  writeRecords(recordLine(ModeRomaji, 2023, 4, 5, 7, 8, 9, 210, 7) + "junk\r\n");
  const QByteArray before = dir.read(u"run.ｷﾛｸ"_s);
  dir.write(u"mine.hok"_s, before);  // a record file whose data file would be itself
  for (const QString& path : {recordPath, dir.file(u"mine.hok"_s)}) {
    report({u"--runs"_s, path});
    const Result rebuilt = report({u"--runs"_s, u"--rebuild"_s, path});
    EXPECT_EQ(rebuilt.status, 0);
    EXPECT_TRUE(rebuilt.runs().startsWith("2 2023-04-05 07:08:09 210 7\n"));
    EXPECT_EQ(dir.read(QFileInfo(path).fileName()), before) << path.toStdString();
  }
}

}  // namespace
