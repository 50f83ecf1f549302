#pragma once

#include <QString>

#include <span>

#include "records/LoadedRecords.h"
#include "viewer/OutputRequest.h"
#include "viewer/ViewExport.h"

class ExportOutput;
class QIODevice;
class ViewerCore;

// Writes what `request` asks for to `out`, each part by its writer:
//
//   format  every run          views                  calendar            progress
//   text    writeRunsText      the panes' lines       its text lines      ProgressExport::writeText
//   CSV     writeRunsCsv       writeViewCsv (one)     writeCalendarCsv    ProgressExport::writeCsv
//   JSON    member "runs"      one member each        member "calendar"   member "progress"
//
// A text gives every part asked for in that order (each view, the calendar
// and the progress series headed "==== NAME" when there are several); a CSV
// file holds one table, the first part asked for; a JSON document holds
// them all, with `fileName` and the settings. `progress` is told how far the
// runs of a CSV or JSON document have come.
ViewExport::Result writeOutput(QIODevice& out, ViewerCore& viewer, const OutputRequest& request,
                               const QString& fileName, const ViewExport::Progress& progress = {});

// "<mode 0-3> <yyyy-mm-dd> <hh:nn:ss> <hits> <misses>\n" per run.
void writeRunsText(ExportOutput& out, std::span<const PracticeRecord* const> runs);
