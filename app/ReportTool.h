#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>

#include "records/LoadedRecords.h"
#include "viewer/EncodedText.h"

class PracticeCalendar;
class ViewerCore;
struct ReportOptions;

// hoko32-report's work: parse the command line, load the record file as the
// viewer does, print the requested text, CSV or JSON.
class ReportTool {
 public:
  // `programPath` locates the viewer's own settings file (the viewer is
  // installed beside the tool).
  ReportTool(QString programPath, std::FILE* out, std::FILE* err);

  int run(const QStringList& arguments);

  static constexpr int ExitOk = 0;
  static constexpr int ExitLoadFailed = 1;
  static constexpr int ExitUsage = 2;

 private:
  QString defaultSettingsPath() const;
  void print(const QString& text, TextEncoding encoding);
  void write(const QByteArray& bytes, int replaced);
  void writeCsv(ViewerCore& viewer, const ReportOptions& options, const PracticeCalendar* calendar);

  QString programPath_;
  std::FILE* out_;
  std::FILE* err_;
};

// "<mode 0-3> <yyyy-mm-dd> <hh:nn:ss> <hits> <misses>" per kept run.
QString runsText(const LoadedRecords& records);
