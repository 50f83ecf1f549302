#include "viewer/ProgressExport.h"

#include <QIODevice>

#include <cmath>
#include <cstdlib>
#include <new>

#include "analysis/ModePass.h"
#include "analysis/TextFormat.h"
#include "platform/ShiftJis.h"
#include "viewer/CsvWriter.h"
#include "viewer/ExportOutput.h"
#include "viewer/JsonWriter.h"

using namespace Qt::StringLiterals;

namespace ProgressExport {

namespace {

// The text's columns: hits, misses, the mean hits, a rate, the mean rate, the best.
constexpr int HitsWidth = 6;
constexpr int MissesWidth = 5;
constexpr int MeanWidth = 11;
constexpr int RateWidth = 8;
constexpr int MeanRateWidth = 11;
constexpr int BestWidth = 6;

DayCount::CivilDate civilDate(const ProgressRun& r) { return DayCount::decodeDate(r.date); }
DayCount::ClockTime clockTime(const ProgressRun& r) { return {r.second / 3600, r.second / 60 % 60, r.second % 60}; }

// A header over a right-aligned column, counted in Shift-JIS columns.
QString rightAligned(const QString& label, int columns) {
  return QString(std::max(columns - ShiftJis::width(label), 0), u' ') + label;
}

QString modeText(std::optional<PracticeMode> mode) { return mode ? modeTitleName(*mode) : u"すべてのモード"_s; }

}  // namespace

QString name() { return u"progress"_s; }

Series seriesOf(std::span<const PracticeRecord* const> runs, std::optional<PracticeMode> mode, bool noMiss,
                int window) {
  const std::vector<ProgressRun> kept = ProgressSeries::runsOf(runs, mode, noMiss);
  return {mode, window, ProgressSeries::points(kept, window), ProgressSeries::figures(kept), std::nullopt};
}

QStringList textLines(const Series& series) {
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(series.points.size()) + 8);
  lines << u"<<"_s + modeText(series.mode) + u"の進歩グラフ (平均の回数 "_s + QString::number(series.window) +
               u"回) >>"_s;
  lines << ShiftJis::padRight(u"日付", 11) + ShiftJis::padRight(u"時刻", 8) + rightAligned(u"打数"_s, HitsWidth) +
               rightAligned(u"ミス"_s, MissesWidth) + rightAligned(u"平均打数"_s, MeanWidth) +
               rightAligned(u"ミス率"_s, RateWidth) + rightAligned(u"平均ミス率"_s, MeanRateWidth) +
               rightAligned(u"最高"_s, BestWidth);
  for (const ProgressPoint& p : series.points) {
    lines << TextFormat::isoDate(civilDate(p.run)) + u' ' + TextFormat::clockTime(p.run.second / 86400.0) +
                 TextFormat::number(p.run.hits, HitsWidth) + TextFormat::number(p.run.misses, MissesWidth) +
                 TextFormat::fixed(p.meanHits, 4).rightJustified(MeanWidth, u' ') +
                 TextFormat::fixed(p.run.missRate(), 4).rightJustified(RateWidth, u' ') +
                 TextFormat::fixed(p.meanMissRate, 4).rightJustified(MeanRateWidth, u' ') +
                 TextFormat::number(p.bestSoFar, BestWidth);
  }
  const RangeFigures& f = series.figures;
  lines << u"回数: "_s + QString::number(f.runs) + u"回"_s
        << u"練習日数: "_s + QString::number(f.practiceDays) + u"日"_s
        << u"平均打数: "_s + TextFormat::fixed(f.meanHits, 1) << u"最高打数: "_s + QString::number(f.bestHits)
        << u"平均ミス率: "_s + TextFormat::fixed(f.meanMissRate * 100.0, 2) + u'%';
  if (series.before)
    if (const QString change = ProgressSeries::changeText(f, *series.before); !change.isEmpty()) lines << change;
  return lines;
}

ViewExport::Result writeCsv(QIODevice& device, const Series& series, TextEncoding encoding) {
  ViewExport::Result result;
  try {
    ExportOutput out(device);
    CsvWriter csv(out, encoding);
    for (const QString& column : {u"date"_s, u"time"_s, u"hits"_s, u"misses"_s, u"mean_hits"_s, u"miss_rate"_s,
                                  u"mean_miss_rate"_s, u"best_so_far"_s})
      csv.text(column);
    csv.endRow();
    for (const ProgressPoint& p : series.points) {
      if (out.failed()) break;
      csv.date(civilDate(p.run));
      csv.time(clockTime(p.run));
      csv.number(p.run.hits);
      csv.number(p.run.misses);
      csv.text(TextFormat::fixed(p.meanHits, 4));
      csv.text(TextFormat::fixed(p.run.missRate(), 4));
      csv.text(TextFormat::fixed(p.meanMissRate, 4));
      csv.number(p.bestSoFar);
      csv.endRow();
    }
    result.replaced = csv.replaced();
    if (!out.flush()) {
      result.outcome = ViewExport::Result::Outcome::WriteFailed;
      result.error = device.errorString();
    }
  } catch (const std::bad_alloc&) {
    result.outcome = ViewExport::Result::Outcome::OutOfMemory;
  }
  return result;
}

void writeJson(JsonWriter& json, const Series& series) {
  const auto decimal = [&json](double value) { json.decimal(TextFormat::fixed(value, 4).toDouble()); };
  json.beginObject();
  json.key("figures"_L1);
  json.beginObject();
  json.key("best_hits"_L1);
  json.number(series.figures.bestHits);
  if (const auto change = series.before ? ProgressSeries::changeTenths(series.figures, *series.before) : std::nullopt) {
    json.key("change_percent"_L1);
    json.decimal(static_cast<double>(*change) / 10.0);
  }
  json.key("mean_hits"_L1);
  decimal(series.figures.meanHits);
  json.key("mean_miss_rate"_L1);
  decimal(series.figures.meanMissRate);
  json.key("practice_days"_L1);
  json.number(series.figures.practiceDays);
  json.key("runs"_L1);
  json.number(series.figures.runs);
  json.end();
  json.key("mode"_L1);
  if (series.mode)
    ViewExport::jsonMode(json, *series.mode);
  else
    json.null();
  json.key("runs"_L1);
  json.beginArray();
  for (const ProgressPoint& p : series.points) {
    json.beginObject();
    json.key("best_so_far"_L1);
    json.number(p.bestSoFar);
    json.key("date"_L1);
    json.date(civilDate(p.run));
    json.key("hits"_L1);
    json.number(p.run.hits);
    json.key("mean_hits"_L1);
    decimal(p.meanHits);
    json.key("mean_miss_rate"_L1);
    decimal(p.meanMissRate);
    json.key("miss_rate"_L1);
    decimal(p.run.missRate());
    json.key("misses"_L1);
    json.number(p.run.misses);
    json.key("time"_L1);
    json.time(clockTime(p.run));
    json.end();
  }
  json.end();
  json.key("window"_L1);
  json.number(series.window);
  json.end();
}

}  // namespace ProgressExport
