#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "analysis/View.h"
#include "records/LoadedRecords.h"
#include "viewer/EncodedText.h"

class PracticeCalendar;
class ViewerCore;

// The runs and the views' data as files for other programs: comma-separated
// values (one table each) or one JSON document. The report tool writes them
// with --format, the viewer window saves them from its export command; both
// call these functions. doc/export.md describes every column and member.
//
// A view's data are the values its pane shows: the current mode and settings,
// the display-count limit and the rank count applied, in the pane's order. They
// come from the viewer's last passes, so the caller recalculates the views
// first (ViewerCore::recalculate). The text chart's marks never appear.
namespace ViewExport {

// Every kept run in record-file order. Shift-JIS characters that code page 932
// cannot hold are written as "?"; `replaced`, when given, is set to their number.
QByteArray runsCsv(const LoadedRecords& records, TextEncoding encoding, int* replaced = nullptr);

// The data of one view.
QByteArray viewCsv(const ViewerCore& viewer, View view, TextEncoding encoding, int* replaced = nullptr);

// One row per practice day of the calendar, oldest first.
QByteArray calendarCsv(const PracticeCalendar& calendar, TextEncoding encoding, int* replaced = nullptr);

// The file name, the mode, the settings, every run (when `withRuns`), one
// member per view in `views` and, when given, the calendar's figures and days
// (member "calendar"). Always UTF-8, without a byte-order mark.
QByteArray json(const ViewerCore& viewer, const QList<View>& views, bool withRuns, const QString& fileName,
                const PracticeCalendar* calendar = nullptr);

// The name of the view's member and of its --view value: "history", "graph",
// "average", "miss", "best".
QString viewName(View view);
// The calendar's: "calendar".
QString calendarName();

}  // namespace ViewExport
