#pragma once

// The report tool run as a program, on a record file and a settings file in a
// temporary folder.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QIODevice>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>

#include "support/TempDir.h"

using namespace Qt::StringLiterals;

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
