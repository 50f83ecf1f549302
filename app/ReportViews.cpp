#include "app/ReportViews.h"

#include <algorithm>

#include "analysis/CalendarTexts.h"
#include "analysis/PracticeCalendar.h"
#include "viewer/ViewExport.h"
#include "viewer/ViewerCore.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

namespace {

QList<View> allViews() {
  QList<View> views;
  for (const ViewInfo& info : Views) views << info.view;
  return views;
}

bool needsModePass(const QList<View>& views) {
  for (View v : views)
    if (!viewInfo(v).averagePass) return true;
  return false;
}

QString joined(const QStringList& lines) { return lines.join(u'\n') + u'\n'; }

}  // namespace

ViewSettings reportViewSettings(const MainOptions& stored, const ReportOptions& command, const QDateTime& clock) {
  ViewSettings s = ViewerSession::viewSettingsOf(stored);
  if (command.mode) s.mode = *command.mode;
  s.noMiss = command.nomiss;
  s.levelUpOnly = command.levelup;
  s.period = static_cast<AveragePeriod>(static_cast<int>(command.period) + 1);
  s.countInterval = command.interval.value_or(s.countInterval);
  s.maxMiss = command.maxMiss.value_or(s.maxMiss);
  s.minHitMiss = command.minKeys.value_or(s.minHitMiss);
  s.minHits = command.minHits;
  s.rankCount = command.rankCount.value_or(s.rankCount);
  if (command.missDown) s.moreMissesAbove = false;
  s.recentLimit = command.recent.value_or(s.recentLimit);
  s.hitMark = command.hitMark.value_or(s.hitMark);
  s.missMark = command.missMark.value_or(s.missMark);
  s.now = command.now.value_or(clock);
  // The report runs "on the day the program started": the day of its clock.
  s.startDate = ViewerSession::startDate(s.now.date(), 0);
  if (command.allDays) s.eraFrom = s.eraTo = QDate();
  if (command.since) s.eraFrom = *command.since;
  if (command.until) s.eraTo = *command.until;
  return s;
}

QString eraError(const ViewSettings& settings, const ReportOptions& command) {
  if (!settings.eraFrom.isValid() || !settings.eraTo.isValid() || settings.eraTo >= settings.eraFrom) return {};
  const auto day = [](const QDate& d) { return d.toString(Qt::ISODate); };
  if (command.since)
    return u"--since %1 is after the last day of the era the settings file keeps (%2); give --until or --all-days"_s
        .arg(day(settings.eraFrom), day(settings.eraTo));
  return u"--until %1 is before the first day of the era the settings file keeps (%2); give --since or --all-days"_s
      .arg(day(settings.eraTo), day(settings.eraFrom));
}

QList<View> reportViews(const QList<View>& requested, bool calendar) {
  return requested.isEmpty() && !calendar ? allViews() : requested;
}

PracticeCalendar reportCalendar(const ViewerCore& viewer, const ReportOptions& command) {
  return PracticeCalendar::build(viewer.runsInView().runs,
                                 command.allModes ? std::nullopt : std::optional(viewer.settings().practiceMode()),
                                 viewer.settings().now.date());
}

ProgressExport::Series reportProgress(const ViewerCore& viewer, const ReportOptions& command) {
  const ViewSettings& s = viewer.settings();
  return {viewer.runsInView().runs, command.allModes ? std::nullopt : std::optional(s.practiceMode()), s.noMiss,
          command.window.value_or(10)};
}

void recalculateViews(ViewerCore& viewer, const QList<View>& views) {
  if (needsModePass(views)) viewer.recalculateRecords();
  if (std::any_of(views.begin(), views.end(), [](View v) { return viewInfo(v).averagePass; }))
    viewer.recalculateAverages();
}

QString reportViewsText(ViewerCore& viewer, const QList<View>& requested, bool copyAll,
                        const PracticeCalendar* calendar, bool progressFollows) {
  const QList<View> views = reportViews(requested, calendar != nullptr || progressFollows);
  recalculateViews(viewer, views);

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
