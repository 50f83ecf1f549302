#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

#include "analysis/ProgressSeries.h"
#include "viewer/EncodedText.h"
#include "viewer/ViewExport.h"

class JsonWriter;
class QIODevice;

// The progress series as the report tool gives it (`--view progress`): every
// run of a mode, or of every mode, in file order with the trailing means over
// it and the N - 1 runs before it, the best so far, and the figures of all of
// them. As text, as one CSV table or as the member "progress" of the JSON
// document (doc/export.md). Means and rates are written with four decimals,
// halves rounded away from zero; a rate is a fraction of 1 (misses of all
// keystrokes), not a percentage.
namespace ProgressExport {

struct Series {
  std::optional<PracticeMode> mode;  // none: every mode
  int window = 10;
  std::vector<ProgressPoint> points;
  RangeFigures figures;
  // The range of the same number of days just before, when the runs are
  // those of an era with both days (--since and --until): the change against it.
  std::optional<RangeFigures> before;
};

// The runs of the mode (every mode without one), those without a miss only
// with `noMiss`, over the whole record.
Series seriesOf(std::span<const PracticeRecord* const> runs, std::optional<PracticeMode> mode, bool noMiss, int window);

// A title line, a column header, one aligned line per run, then the figures
// (回数, 練習日数, 平均打数, 最高打数, 平均ミス率, and "前の期間より +4.2%"
// when there is a range before with runs).
QStringList textLines(const Series& series);

// date,time,hits,misses,mean_hits,miss_rate,mean_miss_rate,best_so_far.
ViewExport::Result writeCsv(QIODevice& out, const Series& series, TextEncoding encoding);

// The value of the JSON member "progress": "figures", "mode", "runs", "window".
void writeJson(JsonWriter& json, const Series& series);

// The --view value and the JSON member's name: "progress".
QString name();

}  // namespace ProgressExport
