// The report tool as a program where that takes POSIX calls or behaviour
// (setrlimit, /dev/full, symbolic links, LF line ends on standard error):
// load messages, output that cannot be written or must not be, and loads
// within a limited address space.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/resource.h>

#include "support/RecordLines.h"
#include "support/ReportToolFixture.h"
#include "tools/RecordFileGenerator.h"

namespace {

// Compares standard error with LF line ends, which Windows writes as CR LF.
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

// Compares standard error with LF line ends, which Windows writes as CR LF.
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

// Compares standard error with LF line ends, which Windows writes as CR LF.
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
// Needs a symbolic link (QFile::link makes a shortcut on Windows) and LF line ends on standard error.
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
