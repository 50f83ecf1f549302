#include "viewer/OutputWriter.h"

#include <algorithm>
#include <optional>

#include "analysis/CalendarTexts.h"
#include "analysis/PracticeCalendar.h"
#include "records/DayCount.h"
#include "viewer/ExportOutput.h"
#include "viewer/ProgressExport.h"
#include "viewer/ViewerCore.h"

using namespace Qt::StringLiterals;

namespace {

// Runs the passes behind the views: the mode pass once, the averages once.
void recalculateViews(ViewerCore& viewer, const QList<View>& views) {
  if (std::any_of(views.begin(), views.end(), [](View v) { return !viewInfo(v).averagePass; }))
    viewer.recalculateRecords();
  if (std::any_of(views.begin(), views.end(), [](View v) { return viewInfo(v).averagePass; }))
    viewer.recalculateAverages();
}

QString joined(const QStringList& lines) { return lines.join(u'\n') + u'\n'; }

// The text of each view as its pane shows it, or as "copy all" takes it, then
// the calendar's and the heading of the progress series that follows; each
// part headed "==== NAME" when there are several.
QString viewsText(const ViewerCore& viewer, const QList<View>& views, bool copyAll, const PracticeCalendar* calendar,
                  bool progressFollows) {
  const bool headed = views.size() + (calendar ? 1 : 0) + (progressFollows ? 1 : 0) > 1;
  QString text;
  for (View view : views) {
    if (headed) text += u"==== "_s + ViewExport::viewName(view) + u'\n';
    const QStringList pane = viewer.paneLines(view);
    // Under the no-miss option the miss pane is hidden and copy all copies nothing.
    if (view == ViewMiss && copyAll && viewer.settings().noMiss) continue;
    text += joined(copyAll ? viewer.copyAllLines(view, pane) : pane);
  }
  if (calendar) {
    if (headed) text += u"==== "_s + ViewExport::calendarName() + u'\n';
    text += joined(CalendarTexts::calendarLines(*calendar));
  }
  if (progressFollows && headed) text += u"==== "_s + ProgressExport::name() + u'\n';
  return text;
}

// The counted mode of the calendar and the progress series: the current one, or none for every mode.
std::optional<PracticeMode> countedMode(const ViewerCore& viewer, const OutputRequest& request) {
  return request.allModes ? std::nullopt : std::optional(viewer.settings().practiceMode());
}

}  // namespace

void writeRunsText(ExportOutput& out, std::span<const PracticeRecord* const> runs) {
  for (const PracticeRecord* r : runs) {
    if (out.failed()) return;
    const DayCount::CivilDate date = DayCount::decodeDate(r->Date);
    const DayCount::ClockTime time = DayCount::decodeTime(r->Time());
    out.number(r->Mode);
    out.put(' ');
    out.isoDate(date);
    out.put(' ');
    out.clockTime(time);
    out.put(' ');
    out.number(r->Hits);
    out.put(' ');
    out.number(r->Misses);
    out.put('\n');
  }
}

ViewExport::Result writeOutput(QIODevice& out, ViewerCore& viewer, const OutputRequest& request,
                               const QString& fileName, const ViewExport::Progress& progress) {
  const auto runs = viewer.runsInView().runs;
  std::optional<PracticeCalendar> calendar;
  if (request.calendar) {
    const QDate today = request.today.isValid() ? request.today : viewer.settings().now.date();
    calendar = PracticeCalendar::build(runs, countedMode(viewer, request), today);
  }
  const PracticeCalendar* days = calendar ? &*calendar : nullptr;
  std::optional<ProgressExport::Series> series;
  if (request.progress) series = {runs, countedMode(viewer, request), viewer.settings().noMiss, request.window};
  QList<View> views = request.views;
  if (request.activeView) views.prepend(*request.activeView);

  switch (request.format) {
    case OutputFormat::Text:
      return ViewExport::writeTo(out, [&](ExportOutput& output, ViewExport::Result& result) {
        if (request.everyRun) writeRunsText(output, runs);
        recalculateViews(viewer, request.views);
        const QString text = viewsText(viewer, views, request.copyAll, days, series.has_value());
        output.put(EncodedText::encode(text, request.encoding, &result.replaced));
        // The series as it is computed, a run at a time.
        if (series) result.replaced += ProgressExport::writeText(output, *series, request.encoding);
      });
    case OutputFormat::Csv:
      if (request.everyRun) return ViewExport::writeRunsCsv(out, runs, request.encoding, progress);
      if (calendar) return ViewExport::writeCalendarCsv(out, *calendar, request.encoding);
      if (series) return ProgressExport::writeCsv(out, *series, request.encoding);
      if (views.isEmpty()) return {};
      if (!request.activeView) viewer.recalculate(views.front());
      return ViewExport::writeViewCsv(out, viewer, views.front(), request.encoding);
    case OutputFormat::Json: {
      recalculateViews(viewer, request.views);
      ViewExport::JsonMember member;
      if (series)
        member = {ProgressExport::name(), [&](JsonWriter& json) { ProgressExport::writeJson(json, *series); }};
      return ViewExport::writeJson(out, viewer, views, request.everyRun, fileName, days, progress, member);
    }
  }
  return {};
}
