#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include "analysis/ViewSettings.h"
#include "app/ReportOptions.h"
#include "settings/Options.h"
#include "viewer/ProgressExport.h"

class PracticeCalendar;
class ViewerCore;

// The values the views are computed with: the settings file's, overridden by
// the command line for this run only.
ViewSettings reportViewSettings(const MainOptions& stored, const ReportOptions& command, const QDateTime& clock);

// Why the era of `settings` holds no day, when --since or --until meets the
// other side kept in the settings file the wrong way round; empty when it is
// good. (Both on the command line are refused when they are parsed; the
// settings file's own era is read as none when it ends before it starts.)
QString eraError(const ViewSettings& settings, const ReportOptions& command);

// The requested views, or all five in tab order when nothing was asked for
// (the calendar alone asks for no view).
QList<View> reportViews(const QList<View>& requested, bool calendar = false);

// The practice calendar of the loaded runs: the current mode's, or every
// mode's with --all-modes; today is the day of the settings' clock.
PracticeCalendar reportCalendar(const ViewerCore& viewer, const ReportOptions& command);

// The progress series of the runs in view (the whole era): the current
// mode's, or every mode's with --all-modes; with --nomiss those without a miss.
ProgressExport::Series reportProgress(const ViewerCore& viewer, const ReportOptions& command);

// Runs the passes behind the views (the mode pass once, the averages once).
void recalculateViews(ViewerCore& viewer, const QList<View>& views);

// The text of each requested view as the viewer's pane shows it, or as "copy
// all" takes it: lines joined by "\n" with a final "\n"; several views each
// start with "==== NAME". The viewer's settings are the report's. A calendar,
// when given, comes after the views (CalendarTexts::calendarLines), headed
// "==== calendar" when there is more than it. A progress series comes last:
// with `progressFollows` the text ends with its heading ("==== progress", when
// there is more than it), after which the caller writes the series as it is
// computed (ProgressExport::writeText).
QString reportViewsText(ViewerCore& viewer, const QList<View>& views, bool copyAll,
                        const PracticeCalendar* calendar = nullptr, bool progressFollows = false);
