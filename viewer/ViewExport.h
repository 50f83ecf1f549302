#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <span>

#include "analysis/View.h"
#include "records/LoadedRecords.h"
#include "viewer/EncodedText.h"
#include "viewer/ExportTarget.h"

class ExportOutput;
class JsonWriter;
class PracticeCalendar;
class QIODevice;
class ViewerCore;

// The runs and the views' data as files for other programs: comma-separated
// values (one table each) or one JSON document. The report tool writes them
// with --format, the viewer window saves them from its export command; both
// reach these functions through writeOutput (viewer/OutputWriter.h). doc/export.md describes every column and member.
//
// A view's data are the values its pane shows: the current mode and settings,
// the display-count limit and the rank count applied, in the pane's order. They
// come from the viewer's last passes, so the caller recalculates the views
// first (ViewerCore::recalculate). The text chart's marks never appear.
//
// Each export goes to the device as it is written, a run at a time, in pieces
// of 64 KiB: its size costs no memory. The device is open for writing; after
// a failed write nothing more is given to it, and an allocation that fails
// ends the export with OutOfMemory (never with an exception).
namespace ViewExport {

struct Result {
  enum class Outcome { Written, WriteFailed, OutOfMemory };
  Outcome outcome = Outcome::Written;
  QString error;     // the device's error, when a write failed
  int replaced = 0;  // characters Shift-JIS could not hold, written as "?"

  bool written() const { return outcome == Outcome::Written; }
};

// Told every few thousand runs how many of the `total` runs are written.
using Progress = std::function<void(std::int64_t done, std::int64_t total)>;

// Runs `write` on an output to the device, flushes it and tells how it went.
Result writeTo(QIODevice& out, const std::function<void(ExportOutput& output, Result& result)>& write);

// The runs in record-file order (those the views count: ViewerCore::runsInView).
Result writeRunsCsv(QIODevice& out, std::span<const PracticeRecord* const> runs, TextEncoding encoding,
                    const Progress& progress = {});

// The data of one view.
Result writeViewCsv(QIODevice& out, const ViewerCore& viewer, View view, TextEncoding encoding);

// One row per practice day of the calendar, oldest first.
Result writeCalendarCsv(QIODevice& out, const PracticeCalendar& calendar, TextEncoding encoding);

// A mode as the JSON documents give it: {"code", "name"}.
void jsonMode(JsonWriter& json, PracticeMode mode);

// The file name, the mode, the settings, the runs in view (when `withRuns`), one
// member per view in `views` and, when given, the calendar's figures and days
// (member "calendar"), and `extra` when it has a name (the report tool's
// progress series). Always UTF-8, without a byte-order mark; the document
// QJsonDocument would write of the same values, indented.
struct JsonMember {
  QString name;
  std::function<void(JsonWriter&)> write;
};
Result writeJson(QIODevice& out, const ViewerCore& viewer, const QList<View>& views, bool withRuns,
                 const QString& fileName, const PracticeCalendar* calendar = nullptr, const Progress& progress = {},
                 const JsonMember& extra = {});

// The name of the view's member and of its --view value: "history", "graph",
// "average", "miss", "best".
QString viewName(View view);
// The calendar's: "calendar".
QString calendarName();

// The message when memory ran out while writing to `target`.
QString outOfMemory(const QString& target);

}  // namespace ViewExport
