#pragma once

#include <QString>

#include <optional>
#include <span>

#include "analysis/ProgressSeries.h"
#include "viewer/EncodedText.h"
#include "viewer/ViewExport.h"

class ExportOutput;
class JsonWriter;
class QIODevice;

// The progress series as the report tool gives it (`--view progress`): every
// run of a mode, or of every mode, in file order with the trailing means over
// it and the N - 1 runs before it, the best so far, and the figures of all of
// them. As text, as one CSV table or as the member "progress" of the JSON
// document (doc/export.md). Means and rates are written with four decimals,
// halves rounded away from zero; in CSV and JSON a rate is a fraction of 1
// (misses of all keystrokes), in the text a percentage as the figures have it.
// Each is written run by run as it is computed, as the other exports are:
// nothing but the loaded runs is held, whatever their number.
namespace ProgressExport {

// What the series is made of. The report shows the whole era (or the whole
// file): there is no range of the same length before it inside the era, so
// it has no change against one.
struct Series {
  std::span<const PracticeRecord* const> runs;  // the runs in view, of every mode
  std::optional<PracticeMode> mode;             // none: every mode
  bool noMiss = false;                          // only the runs without a miss
  int window = 10;

  auto kept() const { return ProgressSeries::keptRuns(runs, mode, noMiss); }
  RangeFigures figures() const;
};

// A title line, a column header, one aligned line per run, then the figures
// (回数, 練習日数, 平均打数, 最高打数, 平均ミス率), each line ending in "\n",
// in `encoding`. Returns the characters that encoding could not hold.
int writeText(ExportOutput& out, const Series& series, TextEncoding encoding);

// date,time,hits,misses,mean_hits,miss_rate,mean_miss_rate,best_so_far.
ViewExport::Result writeCsv(QIODevice& out, const Series& series, TextEncoding encoding);

// The value of the JSON member "progress": "figures", "mode", "runs", "window".
void writeJson(JsonWriter& json, const Series& series);

// The --view value and the JSON member's name: "progress".
QString name();

}  // namespace ProgressExport
