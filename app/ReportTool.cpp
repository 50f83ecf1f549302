#include "app/ReportTool.h"

#include <QFileInfo>
#include <QTextStream>

#include <optional>

#include "Version.h"
#include "analysis/PracticeCalendar.h"
#include "app/ReportOptions.h"
#include "app/ReportViews.h"
#include "app/StreamFeedback.h"
#include "platform/RegularFile.h"
#include "records/DayCount.h"
#include "records/LoaderMessages.h"
#include "records/RecordLoader.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"
#include "viewer/EncodedText.h"
#include "viewer/ViewExport.h"
#include "viewer/ViewerCore.h"

using namespace Qt::StringLiterals;

namespace {

QString twoDigits(int value) { return QString::number(value).rightJustified(2, u'0'); }

TextEncoding textEncoding(ReportEncoding encoding) {
  return encoding == ReportEncoding::ShiftJis ? TextEncoding::ShiftJis : TextEncoding::Utf8;
}

}  // namespace

QString runsText(const LoadedRecords& records) {
  QString text;
  text.reserve(static_cast<qsizetype>(records.AllRecords.size()) * 32);
  for (const PracticeRecord* r : records.AllRecords) {
    const DayCount::CivilDate date = DayCount::decodeDate(r->Date);
    const DayCount::ClockTime time = DayCount::decodeTime(r->Time());
    text += QString::number(r->Mode) + u' ' + QString::number(date.year).rightJustified(4, u'0') + u'-' +
            twoDigits(date.month) + u'-' + twoDigits(date.day) + u' ' + twoDigits(time.hour) + u':' +
            twoDigits(time.min) + u':' + twoDigits(time.sec) + u' ' + QString::number(r->Hits) + u' ' +
            QString::number(r->Misses) + u'\n';
  }
  return text;
}

ReportTool::ReportTool(QString programPath, std::FILE* out, std::FILE* err)
    : programPath_(std::move(programPath)), out_(out), err_(err) {}

QString ReportTool::defaultSettingsPath() const {
  const QString viewer = QFileInfo(programPath_).absolutePath() + u"/hoko32"_s;
  return SettingsLocation::forProgram(viewer);
}

void ReportTool::print(const QString& text, TextEncoding encoding) {
  int replaced = 0;
  write(EncodedText::encode(text, encoding, &replaced), replaced);
}

// Characters that code page 932 cannot hold were written as "?".
void ReportTool::write(const QByteArray& bytes, int replaced) {
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out_);
  if (replaced > 0)
    std::fprintf(err_, "hoko32-report: %d character(s) have no place in Shift-JIS and were written as \"?\"\n",
                 replaced);
}

int ReportTool::run(const QStringList& arguments) {
  QTextStream err(err_);
  const ParsedReportOptions parsed = parseReportOptions(arguments);
  if (!parsed.error.isEmpty()) {
    err << "hoko32-report: " << parsed.error << "\n"
        << "Try 'hoko32-report --help'.\n";
    return ExitUsage;
  }
  const ReportOptions& options = parsed.options;
  if (options.help) {
    print(reportUsage(), TextEncoding::Utf8);
    return ExitOk;
  }
  if (options.version) {
    print(u"hoko32-report "_s + QString::fromLatin1(HOKO32_VERSION) + u'\n', TextEncoding::Utf8);
    return ExitOk;
  }
  SettingsFile settings(options.settingsPath.isEmpty() ? defaultSettingsPath() : options.settingsPath);
  StreamFeedback feedback(err);
  ViewerCore viewer(settings, feedback);
  const QString recordPath = QFileInfo(options.recordFile).absoluteFilePath();
  // The viewer asks for a file to be chosen; a terminal is told what is wrong with this one.
  int error = 0;
  if (const FileProblem problem = inspectPath(recordPath, &error); problem != FileProblem::None) {
    err << LoaderMessages::cannotRead(recordPath, describeProblem(problem, error)) << "\n";
    return ExitLoadFailed;
  }
  if (options.rebuild && QFileInfo(recordPath).isFile() && !viewer.forgetStoredSize(recordPath)) return ExitLoadFailed;
  if (viewer.load(recordPath) != LoadOutcome::Loaded) return ExitLoadFailed;

  const TextEncoding encoding = textEncoding(options.encoding);
  if (options.runs && options.format == ReportFormat::Text) print(runsText(viewer.records()), encoding);
  const SettingsEnvironment environment{1024, 768, SettingsLocation::folderOf(programPath_)};
  viewer.setSettings(
      reportViewSettings(MainOptions::load(settings, environment), options, QDateTime::currentDateTime()));
  std::optional<PracticeCalendar> calendar;
  if (options.calendar) calendar = reportCalendar(viewer, options);
  const PracticeCalendar* shownCalendar = calendar ? &*calendar : nullptr;
  switch (options.format) {
    case ReportFormat::Text:
      print(reportViewsText(viewer, options.views, options.copy, shownCalendar), encoding);
      break;
    case ReportFormat::Csv: writeCsv(viewer, options, shownCalendar); break;
    case ReportFormat::Json: {
      const QList<View> views = reportViews(options.views, options.calendar);
      recalculateViews(viewer, views);
      write(ViewExport::json(viewer, views, options.runs, QFileInfo(recordPath).fileName(), shownCalendar), 0);
      break;
    }
  }
  std::fflush(out_);
  return ExitOk;
}

// The options allow one table: the runs, one view or the calendar.
void ReportTool::writeCsv(ViewerCore& viewer, const ReportOptions& options, const PracticeCalendar* calendar) {
  const TextEncoding encoding = textEncoding(options.encoding);
  int replaced = 0;
  if (options.runs) {
    write(ViewExport::runsCsv(viewer.records(), encoding, &replaced), replaced);
    return;
  }
  if (calendar) {
    write(ViewExport::calendarCsv(*calendar, encoding, &replaced), replaced);
    return;
  }
  const View view = options.views.front();
  viewer.recalculate(view);
  write(ViewExport::viewCsv(viewer, view, encoding, &replaced), replaced);
}
