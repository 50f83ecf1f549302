#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include "app/ReportOptions.h"
#include "settings/Options.h"
#include "viewer/ViewSettings.h"

class ViewerCore;

// The values the views are computed with: the settings file's, overridden by
// the command line for this run only.
ViewSettings reportViewSettings(const MainOptions& stored, const ReportOptions& command, const QDateTime& clock);

// The requested views, or all five in tab order when none was asked for.
QList<View> reportViews(const QList<View>& requested);

// Runs the passes behind the views (the mode pass once, the averages once).
void recalculateViews(ViewerCore& viewer, const QList<View>& views);

// The text of each requested view as the viewer's pane shows it, or as "copy
// all" takes it: lines joined by "\n" with a final "\n"; several views each
// start with "==== NAME". The viewer's settings are the report's.
QString reportViewsText(ViewerCore& viewer, const QList<View>& views, bool copyAll);
