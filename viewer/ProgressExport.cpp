#include "viewer/ProgressExport.h"

#include <QIODevice>
#include <QStringList>

#include <cstring>
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
constexpr int RateWidth = 9;
constexpr int MeanRateWidth = 11;
constexpr int BestWidth = 6;

DayCount::CivilDate civilDate(const ProgressRun& r) { return DayCount::decodeDate(r.date); }

// The date of each run in turn: a day's runs follow each other, so it is
// worked out once a day.
class Dates {
 public:
  const DayCount::CivilDate& of(const ProgressRun& r) {
    if (r.date != day_ || !known_) {
      day_ = r.date;
      known_ = true;
      date_ = civilDate(r);
    }
    return date_;
  }

 private:
  std::int32_t day_ = 0;
  bool known_ = false;
  DayCount::CivilDate date_{};
};
DayCount::ClockTime clockTime(const ProgressRun& r) { return {r.second / 3600, r.second / 60 % 60, r.second % 60}; }

// A header over a right-aligned column, counted in Shift-JIS columns.
QString rightAligned(const QString& label, int columns) {
  return QString(std::max(columns - ShiftJis::width(label), 0), u' ') + label;
}

QString modeText(std::optional<PracticeMode> mode) { return mode ? modeTitleName(*mode) : u"すべてのモード"_s; }

// The text's line of a point: the date and time, the numbers right-aligned,
// the rates as percentages with two decimals and their sign. The whole line is
// written in place: a series has millions of them.
class TextLines {
 public:
  explicit TextLines(ExportOutput& out) : out_(out) {}

  void write(const ProgressPoint& p) {
    const ProgressRun& r = p.run;
    char* at = out_.reserve(LineCapacity);
    std::memcpy(at, dateText(r), sizeof dateText_);
    at = TextFormat::writeClockTime(at + dateLength_, clockTime(r));
    at = TextFormat::writeRightAligned(at, TextFormat::NumberText(r.hits), HitsWidth);
    at = TextFormat::writeRightAligned(at, TextFormat::NumberText(r.misses), MissesWidth);
    at = TextFormat::writeRightAligned(at, TextFormat::FixedText(p.meanHits, 4), MeanWidth);
    at = percent(at, r.missRate(), RateWidth);
    at = percent(at, p.meanMissRate, MeanRateWidth);
    at = TextFormat::writeRightAligned(at, TextFormat::NumberText(p.bestSoFar), BestWidth);
    *at++ = '\n';
    out_.wrote(at);
  }

 private:
  // The widest line: the date and time, and each column at its widest with the slack of its blanks.
  static constexpr int LineCapacity = 2 * TextFormat::DateTextCapacity + 6 * (TextFormat::RightAlignedSlack + 32) + 8;

  static char* percent(char* at, double rate, int width) {
    at = TextFormat::writeRightAligned(at, TextFormat::FixedText(rate * 100.0, 2), width - 1);
    *at++ = '%';
    return at;
  }

  // "yyyy-mm-dd " of the run's day: a day's runs follow each other, so it is
  // made once a day.
  const char* dateText(const ProgressRun& r) {
    if (r.date != day_ || dateLength_ == 0) {
      day_ = r.date;
      char* end = TextFormat::writeDate(dateText_, civilDate(r), '-');
      *end++ = ' ';
      dateLength_ = end - dateText_;
    }
    return dateText_;
  }

  ExportOutput& out_;
  std::int32_t day_ = 0;
  char dateText_[TextFormat::DateTextCapacity + 1] = {};
  std::ptrdiff_t dateLength_ = 0;
};

// Every point of the series, in file order.
template <class Write>
void eachPoint(const Series& series, Write write) {
  auto kept = series.kept();
  ProgressSeries::PointWalk walk(kept, series.window);
  ProgressPoint p;
  while (walk.next(p))
    if (!write(p)) return;
}

}  // namespace

QString name() { return u"progress"_s; }

RangeFigures Series::figures() const { return ProgressSeries::figuresOf(kept()); }

int writeText(ExportOutput& out, const Series& series, TextEncoding encoding) {
  int replaced = 0;
  const auto line = [&](const QString& text) {
    out.put(EncodedText::encode(text, encoding, &replaced));
    out.put('\n');
  };
  line(u"<<"_s + modeText(series.mode) + u"の進歩グラフ (平均の回数 "_s + QString::number(series.window) + u"回) >>"_s);
  line(ShiftJis::padRight(u"日付", 11) + ShiftJis::padRight(u"時刻", 8) + rightAligned(u"打数"_s, HitsWidth) +
       rightAligned(u"ミス"_s, MissesWidth) + rightAligned(u"平均打数"_s, MeanWidth) +
       rightAligned(u"ミス率"_s, RateWidth) + rightAligned(u"平均ミス率"_s, MeanRateWidth) +
       rightAligned(u"最高"_s, BestWidth));
  TextLines lines(out);
  eachPoint(series, [&out, &lines](const ProgressPoint& p) {
    lines.write(p);
    return !out.failed();
  });
  const RangeFigures f = series.figures();
  line(u"回数: "_s + QString::number(f.runs) + u"回"_s);
  line(u"練習日数: "_s + QString::number(f.practiceDays) + u"日"_s);
  line(u"平均打数: "_s + TextFormat::fixed(f.meanHits, 1));
  line(u"最高打数: "_s + QString::number(f.bestHits));
  line(u"平均ミス率: "_s + TextFormat::fixed(f.meanMissRate * 100.0, 2) + u'%');
  return replaced;
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
    Dates dates;
    eachPoint(series, [&](const ProgressPoint& p) {
      csv.date(dates.of(p.run));
      csv.time(clockTime(p.run));
      csv.number(p.run.hits);
      csv.number(p.run.misses);
      csv.fixed(p.meanHits, 4);
      csv.fixed(p.run.missRate(), 4);
      csv.fixed(p.meanMissRate, 4);
      csv.number(p.bestSoFar);
      csv.endRow();
      return !out.failed();
    });
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
  const RangeFigures figures = series.figures();
  json.beginObject();
  json.key("figures"_L1);
  json.beginObject();
  json.key("best_hits"_L1);
  json.number(figures.bestHits);
  json.key("mean_hits"_L1);
  json.fixed(figures.meanHits, 4);
  json.key("mean_miss_rate"_L1);
  json.fixed(figures.meanMissRate, 4);
  json.key("practice_days"_L1);
  json.number(figures.practiceDays);
  json.key("runs"_L1);
  json.number(figures.runs);
  json.end();
  json.key("mode"_L1);
  if (series.mode)
    ViewExport::jsonMode(json, *series.mode);
  else
    json.null();
  json.key("runs"_L1);
  json.beginArray();
  Dates dates;
  eachPoint(series, [&json, &dates](const ProgressPoint& p) {
    json.beginObject();
    json.key("best_so_far"_L1);
    json.number(p.bestSoFar);
    json.key("date"_L1);
    json.date(dates.of(p.run));
    json.key("hits"_L1);
    json.number(p.run.hits);
    json.key("mean_hits"_L1);
    json.fixed(p.meanHits, 4);
    json.key("mean_miss_rate"_L1);
    json.fixed(p.meanMissRate, 4);
    json.key("miss_rate"_L1);
    json.fixed(p.run.missRate(), 4);
    json.key("misses"_L1);
    json.number(p.run.misses);
    json.key("time"_L1);
    json.time(clockTime(p.run));
    json.end();
    return true;
  });
  json.end();
  json.key("window"_L1);
  json.number(series.window);
  json.end();
}

}  // namespace ProgressExport
