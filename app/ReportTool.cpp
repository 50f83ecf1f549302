#include "app/ReportTool.h"

#include <QFileInfo>
#include <QTextStream>

#include <cerrno>

#include <new>

#include "Version.h"
#include "app/ReportOptions.h"
#include "app/StdioDevice.h"
#include "app/StreamFeedback.h"
#include "platform/RegularFile.h"
#include "records/LoaderMessages.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"
#include "viewer/EncodedText.h"
#include "viewer/ExportTarget.h"
#include "viewer/ViewExport.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

namespace {

// What the messages call the output.
const QString StandardOutput = u"標準出力"_s;

}  // namespace

// The output is the same bytes on every system: a CSV file's CR LF and a
// text's LF as they are written.
ReportTool::ReportTool(QString programPath, std::FILE* out, std::FILE* err)
    : programPath_(std::move(programPath)), out_(out), err_(err) {
  writeStreamAsBytes(out_);
}

QString ReportTool::defaultSettingsPath() const {
  // The viewer's: the program "hoko32" beside this one.
  return SettingsLocation::forProgram(SettingsLocation::folderOf(programPath_) + u"hoko32"_s);
}

// Characters that code page 932 cannot hold were written as "?".
void ReportTool::warnReplaced(int replaced) {
  if (replaced > 0)
    std::fprintf(err_, "hoko32-report: %d character(s) have no place in Shift-JIS and were written as \"?\"\n",
                 replaced);
}

void ReportTool::print(QIODevice& out, const QString& text, TextEncoding encoding) {
  int replaced = 0;
  out.write(EncodedText::encode(text, encoding, &replaced));
  warnReplaced(replaced);
}

int ReportTool::finish(const ViewExport::Result& result, QTextStream& err) {
  if (result.outcome == ViewExport::Result::Outcome::OutOfMemory) {
    err << ViewExport::outOfMemory(StandardOutput) << "\n";
    return ExitOutputFailed;
  }
  warnReplaced(result.replaced);
  return ExitOk;  // a failed write is told once, at the end
}

int ReportTool::run(const QStringList& arguments) {
  QTextStream err(err_);
  StdioDevice out(out_);
  int status = ExitOk;
  try {
    status = report(arguments, out, err);
  } catch (const std::bad_alloc&) {
    err << ViewExport::outOfMemory(StandardOutput) << "\n";
    status = ExitOutputFailed;
  }
  if (!out.flushStream()) {
    err << LoaderMessages::cannotWrite(StandardOutput, out.errorString()) << "\n";
    if (status == ExitOk) status = ExitOutputFailed;
  }
  return status;
}

int ReportTool::closeOutput(int status) {
  if (std::fclose(out_) == 0) return status;
  const int error = errno;
  if (status != ExitOk) return status;
  QTextStream(err_) << LoaderMessages::cannotWrite(StandardOutput, describeProblem(problemOfErrno(error), error))
                    << "\n";
  return ExitOutputFailed;
}

// Standard output appended to the record file (or to its data file or the
// settings file, which the load itself writes) is refused before the load.
bool ReportTool::refusesOutput(const QString& recordPath, const QString& settingsPath, QTextStream& err) const {
  FileIdentity output;
  if (!identityOfStream(out_, output)) return false;
  const auto kept = ExportTarget::KeptFiles::of(recordPath, settingsPath);
  const ExportTarget::KeptFile clash = ExportTarget::clash(output, kept);
  if (clash == ExportTarget::KeptFile::None) return false;
  err << ExportTarget::refusal(StandardOutput, clash, kept) << "\n";
  return true;
}

int ReportTool::report(const QStringList& arguments, StdioDevice& out, QTextStream& err) {
  const ParsedReportOptions parsed = parseReportOptions(arguments);
  if (!parsed.error.isEmpty()) {
    err << "hoko32-report: " << parsed.error << "\n"
        << "Try 'hoko32-report --help'.\n";
    return ExitUsage;
  }
  const ReportOptions& options = parsed.options;
  if (options.help) {
    print(out, reportUsage(), TextEncoding::Utf8);
    return ExitOk;
  }
  if (options.version) {
    print(out, u"hoko32-report "_s + QString::fromLatin1(HOKO32_VERSION) + u'\n', TextEncoding::Utf8);
    return ExitOk;
  }
  const QString settingsPath = options.settingsPath.isEmpty() ? defaultSettingsPath() : options.settingsPath;
  const QString recordPath = QFileInfo(options.recordFile).absoluteFilePath();
  if (refusesOutput(recordPath, settingsPath, err)) return ExitOutputFailed;
  SettingsFile settings(settingsPath);
  StreamFeedback feedback(err);
  ViewerSession session(settings, feedback);  // as the viewer's window drives it
  // The viewer asks for a file to be chosen; a terminal is told what is wrong with this one.
  int error = 0;
  if (const FileProblem problem = inspectPath(recordPath, &error); problem != FileProblem::None) {
    err << LoaderMessages::cannotRead(recordPath, describeProblem(problem, error)) << "\n";
    return ExitLoadFailed;
  }
  if (!session.loadRecordFile(recordPath, options.rebuild)) return ExitLoadFailed;
  const SettingsEnvironment environment{1024, 768, SettingsLocation::folderOf(programPath_)};
  const QString eraProblem = session.startReport(recordPath, environment, options.view, QDateTime::currentDateTime());
  if (!eraProblem.isEmpty()) {
    err << "hoko32-report: " << eraProblem << "\n"
        << "Try 'hoko32-report --help'.\n";
    return ExitUsage;
  }
  return finish(session.writeOutput(out, options.output), err);
}
