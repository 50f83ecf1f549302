#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>

#include "viewer/EncodedText.h"

class QIODevice;
class QTextStream;
class StdioDevice;
namespace ViewExport {
struct Result;
}

// hoko32-report's work: parse the command line, hand it to the viewer session
// (which loads the record file as the viewer does and writes the requested
// text, CSV or JSON), and turn what happened into messages and an exit status.
// The output goes to `out` as it is made; a failed write, memory that runs
// out, or an `out` that is the record file, its data file or the settings
// file, is said on `err` and ends the run with ExitOutputFailed.
class ReportTool {
 public:
  // `programPath` locates the viewer's own settings file (the viewer is
  // installed beside the tool).
  ReportTool(QString programPath, std::FILE* out, std::FILE* err);

  int run(const QStringList& arguments);
  // Closes `out` at the end of the program: a failure there turns a success
  // into ExitOutputFailed.
  int closeOutput(int status);

  static constexpr int ExitOk = 0;
  static constexpr int ExitLoadFailed = 1;
  static constexpr int ExitUsage = 2;
  static constexpr int ExitOutputFailed = 3;

 private:
  int report(const QStringList& arguments, StdioDevice& out, QTextStream& err);
  bool refusesOutput(const QString& recordPath, const QString& settingsPath, QTextStream& err) const;
  QString defaultSettingsPath() const;
  void warnReplaced(int replaced);
  void print(QIODevice& out, const QString& text, TextEncoding encoding);
  int finish(const ViewExport::Result& result, QTextStream& err);

  QString programPath_;
  std::FILE* out_;
  std::FILE* err_;
};
