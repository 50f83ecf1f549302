#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/resource.h>

#include "settings/SettingsFile.h"
#include "support/RecordLines.h"
#include "support/TempDir.h"
#include "tools/RecordFileGenerator.h"

using namespace Qt::StringLiterals;

namespace {

struct Result {
  int status;
  QByteArray out;
  QString err;

  // The --runs lines, which come before the views.
  QByteArray runs() const { return out.left(out.indexOf("==== history\n")); }
};

class ReportToolTest : public testing::Test {
 protected:
  ReportToolTest() : settingsPath(dir.file(u"settings.ini"_s)), recordPath(dir.file(u"run.ｷﾛｸ"_s)) {}

  // Standard output goes to `output` when given, opened with `mode`.
  Result report(QStringList arguments, bool withSettings = true, const QString& output = {},
                QIODevice::OpenMode mode = QIODevice::Truncate) {
    if (withSettings)
      arguments = QStringList{u"--settings"_s, settingsPath, u"--now"_s, u"2024-01-01 09:00:00"_s} + arguments;
    QProcess process;
    if (!output.isEmpty()) process.setStandardOutputFile(output, mode);
    process.start(QString::fromUtf8(HOKO32_REPORT_EXE), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
  }

  void writeRecords(const std::string& text) { dir.write(u"run.ｷﾛｸ"_s, QByteArray::fromStdString(text)); }

  TempDir dir;
  QString settingsPath;
  QString recordPath;
};

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
  EXPECT_EQ(settings.readInteger(u"FileSize"_s, sample, 0), QFile(sample).size());
}

TEST_F(ReportToolTest, RunLinesAndLoadMessages) {
  writeRecords(recordLine(ModeKana, 2023, 4, 5, 7, 8, 9, 210, 7) + "broken line\r\n" +
               recordLine(ModeSymbols, 1999, 12, 31, 23, 59, 59, 5, 300));
  const Result r = report({u"--runs"_s, recordPath});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.runs(), "1 2023-04-05 07:08:09 210 7\n3 1999-12-31 23:59:59 5 44\n");
  EXPECT_EQ(r.err, recordPath + u"ファイルのデータの 2 行目に誤りがありました。\n"_s);

  EXPECT_EQ(report({u"--runs"_s, recordPath}).err, QString()) << "the cached load reports nothing";
  const Result rebuilt = report({u"--runs"_s, u"--rebuild"_s, recordPath});
  EXPECT_EQ(rebuilt.err, r.err) << "a rebuild parses every line again";
  EXPECT_EQ(rebuilt.out, r.out);
  EXPECT_EQ(report({u"--runs"_s, u"--encoding"_s, u"sjis"_s, recordPath}).runs(), r.runs());
}

TEST_F(ReportToolTest, RelativeRecordPathIsKeyedByItsFullPath) {
  writeRecords(recordLine(ModeRomaji, 2023, 4, 5, 7, 8, 9, 210, 7));
  QProcess process;
  process.setWorkingDirectory(dir.path());
  process.start(QString::fromUtf8(HOKO32_REPORT_EXE), {u"--settings"_s, settingsPath, u"--runs"_s, u"run.ｷﾛｸ"_s});
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_EQ(SettingsFile(settingsPath).readInteger(u"FileSize"_s, recordPath, 0), 46);
}

TEST_F(ReportToolTest, FailedLoadsExitWithStatusOne) {
  // A missing file or a folder: the path and the reason.
  const struct {
    QString path;
    QString reason;
  } unusable[] = {{dir.file(u"nothing.ｷﾛｸ"_s), u"ファイルがありません。"_s},
                  {dir.path(), u"ファイルではなくフォルダです。"_s}};
  for (const auto& u : unusable) {
    const Result r = report({u"--runs"_s, u.path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, u.path + u" を読み込めません。\n"_s + u.reason + u'\n');
  }

  writeRecords(recordLine(ModeRomaji, 2023, 4, 5, 7, 8, 9, 210, 7));
  ASSERT_EQ(report({u"--runs"_s, recordPath}).status, 0);
  QFile f(recordPath);
  ASSERT_TRUE(f.open(QIODevice::Append));
  f.write("R 2023/04/06  junk");
  f.close();
  const Result tail = report({u"--runs"_s, recordPath});
  EXPECT_EQ(tail.status, 1);
  EXPECT_EQ(tail.err,
            u"ﾃﾞｰﾀに誤りがありました。\nメニューから[ﾌｧｲﾙ]-[圧縮ﾃﾞｰﾀ作成]で\n"
            u"ﾃﾞｰﾀﾌｧｲﾙを作り直してください。\n"_s);
  EXPECT_EQ(tail.out, QByteArray());
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

TEST_F(ReportToolTest, EveryBadLineIsPrinted) {
  writeRecords(std::string(25, '\r') + recordLine(ModeRomaji, 2023, 4, 5, 7, 8, 9, 210, 7));
  const Result r = report({u"--runs"_s, recordPath});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err.count(u"行目に誤りがありました。\n"_s), 25);
  EXPECT_EQ(r.err.count(u'\n'), 25);
}

// Text, CSV and JSON alike: what cannot be written is said, and the exit status says so too.
TEST_F(ReportToolTest, OutputThatCannotBeWrittenIsAnError) {
  writeRecords(recordLine(ModeRomaji, 2023, 4, 5, 7, 8, 9, 210, 7) + recordLine(ModeKana, 2023, 4, 6, 7, 8, 9, 99, 2));
  for (const QStringList& arguments :
       {QStringList{u"--runs"_s}, QStringList{u"--view"_s, u"best"_s},
        QStringList{u"--format"_s, u"csv"_s, u"--runs"_s},
        QStringList{u"--format"_s, u"csv"_s, u"--view"_s, u"history"_s}, QStringList{u"--format"_s, u"json"_s}}) {
    const Result r = report(arguments + QStringList{recordPath}, true, u"/dev/full"_s);
    EXPECT_EQ(r.status, 3) << arguments.join(u' ').toStdString();
    EXPECT_EQ(r.err, u"標準出力 に書き込めません\nディスクに空きがありません。\n"_s);
  }
}

// `>> run.ｷﾛｸ` (or a link to it, its data file, the settings file): refused
// before the load, and the file stays as it was.
TEST_F(ReportToolTest, OutputIsNeverTheTypistsOwnFiles) {
  writeRecords(recordLine(ModeRomaji, 2023, 4, 5, 7, 8, 9, 210, 7));
  ASSERT_EQ(report({u"--runs"_s, recordPath}).status, 0);  // the data file and the stored size are written
  ASSERT_TRUE(QFile::link(recordPath, dir.file(u"link.ｷﾛｸ"_s)));
  const struct {
    QString output;
    QString role;
  } cases[] = {{recordPath, u"記録ファイル"_s},
               {dir.file(u"link.ｷﾛｸ"_s), u"記録ファイル"_s},
               {dir.file(u"run.hok"_s), u"圧縮ﾃﾞｰﾀのファイル"_s},
               {settingsPath, u"設定ファイル"_s}};
  for (const auto& c : cases) {
    const QByteArray before = dir.read(QFileInfo(c.output).fileName());
    const Result r =
        report({u"--format"_s, u"csv"_s, u"--runs"_s, u"--rebuild"_s, recordPath}, true, c.output, QIODevice::Append);
    EXPECT_EQ(r.status, 3) << c.output.toStdString();
    EXPECT_TRUE(r.err.startsWith(u"標準出力 は"_s + c.role)) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith(c.role + u"を守るため、書き込みません。\n"_s)) << r.err.toStdString();
    EXPECT_EQ(dir.read(QFileInfo(c.output).fileName()), before) << c.output.toStdString();
  }
}

// Every run of a large file as JSON, within an address space a fraction of
// what the document would take in memory.
TEST_F(ReportToolTest, JsonOfEveryRunIsWrittenAsItGoes) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves far more address space than the limit";
#endif
  constexpr int Runs = 200000;
  GeneratorOptions generated;
  generated.runs = Runs;
  writeRecords(recordFileBytes(generateRuns(generated)));
  QProcess process;
  process.setChildProcessModifier([] {
    const rlimit limit{200 << 20, 200 << 20};
    setrlimit(RLIMIT_AS, &limit);
  });
  process.setStandardOutputFile(dir.file(u"runs.json"_s));
  process.start(QString::fromUtf8(HOKO32_REPORT_EXE), {u"--settings"_s, settingsPath, u"--format"_s, u"json"_s,
                                                       u"--runs"_s, u"--view"_s, u"miss"_s, recordPath});
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  const QByteArray json = dir.read(u"runs.json"_s);
  EXPECT_EQ(json.count("\"mode\": {"), Runs + 1) << "every run's mode and the document's";
  EXPECT_TRUE(json.endsWith("        }\n    ]\n}\n"));
}

// A load that would parse, decode or write in two halves does it all itself
// when no thread can be started: here every thread's stack is larger than
// the address space left.
TEST_F(ReportToolTest, LoadsWithoutASecondThreadWhenNoneCanStart) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves far more address space than the limit";
#endif
  GeneratorOptions generated;
  generated.runs = 200000;  // beyond the size from which a second thread helps
  writeRecords(recordFileBytes(generateRuns(generated)));
  const auto report = [this](bool threadsStart) {
    QProcess process;
    if (!threadsStart)
      process.setChildProcessModifier([] {
        const rlimit space{1ul << 30, 1ul << 30};
        const rlimit stack{2ul << 30, 2ul << 30};
        setrlimit(RLIMIT_AS, &space);
        setrlimit(RLIMIT_STACK, &stack);
      });
    process.start(QString::fromUtf8(HOKO32_REPORT_EXE),
                  {u"--settings"_s, settingsPath, u"--view"_s, u"miss"_s, u"--runs"_s, recordPath});
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
  };
  const QByteArray full = report(false);    // parsed, and the data file written
  const QByteArray cached = report(false);  // decoded
  QFile::remove(settingsPath);
  const QByteArray expected = report(true);
  EXPECT_FALSE(expected.isEmpty());
  EXPECT_EQ(full, expected);
  EXPECT_EQ(cached, expected);
}

}  // namespace
