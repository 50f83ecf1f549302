#include "viewer/ViewExport.h"

#include <QIODevice>

#include <algorithm>
#include <array>
#include <map>
#include <new>
#include <numeric>
#include <vector>

#include "analysis/CalendarTexts.h"
#include "analysis/ModePass.h"
#include "analysis/PracticeCalendar.h"
#include "analysis/TextFormat.h"
#include "viewer/CsvWriter.h"
#include "viewer/ExportOutput.h"
#include "viewer/JsonWriter.h"
#include "viewer/ViewerCore.h"

using namespace Qt::StringLiterals;

namespace ViewExport {

namespace {

// Runs written between two looks at the progress and at a failed write.
constexpr std::int64_t RunsPerProgress = 16384;

// One value of a view's table: written as text in CSV and typed in JSON.
struct Cell {
  enum class Kind { Empty, Number, Text, Decimal };
  Kind kind = Kind::Empty;
  long long number = 0;
  QString text;  // Text, and Decimal as the pane shows it ("12.34")

  static Cell of(long long value) { return {Kind::Number, value, {}}; }
  static Cell of(QString value) { return {Kind::Text, 0, std::move(value)}; }
  static Cell decimal(double value) { return {Kind::Decimal, 0, TextFormat::fixed2(value, 0)}; }
};

using Row = std::vector<Cell>;

struct Table {
  QStringList columns;
  std::vector<Row> rows;
};

Cell dateCell(const PracticeRecord& r) { return Cell::of(TextFormat::isoDate(r.Date)); }
Cell timeCell(const PracticeRecord& r) { return Cell::of(TextFormat::clockTime(r.Time())); }

// How many of `count` lines a pane shows under its display-count limit (0 = all).
std::size_t newestShown(std::size_t count, int recentLimit) {
  return recentLimit > 0 ? std::min(count, static_cast<std::size_t>(recentLimit)) : count;
}

// The newest `shown` of `items` (oldest first), newest first as the panes list them.
template <typename Item, typename RowOf>
void addNewestFirst(Table& table, const std::vector<Item>& items, int recentLimit, RowOf rowOf) {
  const std::size_t shown = newestShown(items.size(), recentLimit);
  table.rows.reserve(shown);
  for (std::size_t i = 0; i < shown; ++i) table.rows.push_back(rowOf(items[items.size() - 1 - i]));
}

Table historyTable(const ModePass& pass, const ViewSettings& s) {
  Table table{{u"date"_s, u"time"_s, u"hits"_s, u"misses"_s, u"runs"_s, u"runs_since"_s, u"days_since"_s, u"level"_s},
              {}};
  addNewestFirst(table, pass.History, s.recentLimit, [](const HistoryEntry& e) {
    return Row{
        dateCell(*e.run),      timeCell(*e.run),      Cell::of(e.run->Hits), Cell::of(e.run->Misses),
        Cell::of(e.runsSoFar), Cell::of(e.runsSince), Cell::of(e.daysSince), e.level > 0 ? Cell::of(e.level) : Cell{}};
  });
  return table;
}

Table graphTable(const ModePass& pass, const ViewSettings& s) {
  Table table{{u"date"_s, u"hits"_s, u"misses"_s}, {}};
  addNewestFirst(table, pass.RecordRuns, s.recentLimit, [](const PracticeRecord* r) {
    return Row{dateCell(*r), Cell::of(r->Hits), Cell::of(r->Misses)};
  });
  return table;
}

Table averageTable(const AverageTrend& trend, const ViewSettings& s) {
  Table table{{u"period"_s, u"runs"_s, u"hit_average"_s, u"miss_average"_s}, {}};
  addNewestFirst(table, trend.Groups, s.recentLimit, [](const AverageGroup& g) {
    return Row{Cell::of(g.label.trimmed()), Cell::of(g.runs), Cell::of(g.hitAverage), Cell::of(g.missAverage)};
  });
  return table;
}

// The miss pane's three parts, told apart by the first column: the worst ten
// (filled places only), the run with the most misses, the lifetime totals.
namespace MissKind {
const QString WorstTen = u"worst_ten"_s;
const QString WorstRun = u"worst_run"_s;
const QString Total = u"total"_s;
}  // namespace MissKind

Table missTable(const MissAnalysis& miss) {
  Table table{{u"kind"_s, u"rank"_s, u"date"_s, u"time"_s, u"hits"_s, u"misses"_s, u"miss_rate"_s}, {}};
  const Cell none;
  int rank = 0;
  for (const MissSlot& slot : miss.worstTen()) {
    ++rank;
    if (!slot.run) continue;
    const PracticeRecord& r = *slot.run;
    table.rows.push_back({Cell::of(MissKind::WorstTen), Cell::of(rank), dateCell(r), timeCell(r), Cell::of(r.Hits),
                          Cell::of(r.Misses), Cell::decimal(static_cast<double>(slot.Rate) * 100.0)});
  }
  if (const PracticeRecord* r = miss.worstRun())
    table.rows.push_back(
        {Cell::of(MissKind::WorstRun), none, dateCell(*r), timeCell(*r), Cell::of(r->Hits), Cell::of(r->Misses), none});
  // The lifetime ratio is misses per hit, and the pane shows it only when there is a hit.
  if (miss.totalHits() != 0) {
    const double ratio = static_cast<double>(miss.totalMisses()) / static_cast<double>(miss.totalHits()) * 100.0;
    table.rows.push_back({Cell::of(MissKind::Total), none, none, none, Cell::of(miss.totalHits()),
                          Cell::of(miss.totalMisses()), Cell::decimal(ratio)});
  }
  return table;
}

Table bestTable(const ModePass& pass, const ViewSettings& s) {
  Table table{{u"rank"_s, u"date"_s, u"time"_s, u"hits"_s, u"misses"_s}, {}};
  const std::size_t shown = std::min(pass.ModeRecords.size(), static_cast<std::size_t>(std::max(s.rankCount, 0)));
  table.rows.reserve(shown);
  for (std::size_t i = 0; i < shown; ++i) {
    const PracticeRecord& r = *pass.ModeRecords[i];
    table.rows.push_back(
        {Cell::of(static_cast<long long>(i) + 1), dateCell(r), timeCell(r), Cell::of(r.Hits), Cell::of(r.Misses)});
  }
  return table;
}

Table viewTable(const ViewerCore& viewer, View view) {
  switch (view) {
    case ViewHistory: return historyTable(viewer.modePass(), viewer.settings());
    case ViewGraph: return graphTable(viewer.modePass(), viewer.settings());
    case ViewAverage: return averageTable(viewer.averages(), viewer.settings());
    case ViewMiss: return missTable(viewer.modePass().Miss);
    case ViewBest: return bestTable(viewer.modePass(), viewer.settings());
  }
  return {};
}

// Runs `write` on an output to the device and tells how it went.
template <typename Write>
Result exportTo(QIODevice& device, Write write) {
  Result result;
  try {
    ExportOutput out(device);
    write(out, result);
    if (!out.flush()) {
      result.outcome = Result::Outcome::WriteFailed;
      result.error = device.errorString();
    }
  } catch (const std::bad_alloc&) {
    result.outcome = Result::Outcome::OutOfMemory;
  }
  return result;
}

// ---- JSON

// The value as QJsonValue holds it: numbers as doubles.
void jsonCell(JsonWriter& json, const Cell& cell) {
  switch (cell.kind) {
    case Cell::Kind::Number: json.decimal(static_cast<double>(cell.number)); return;
    case Cell::Kind::Text: json.string(cell.text); return;
    case Cell::Kind::Decimal: json.decimal(cell.text.toDouble()); return;
    case Cell::Kind::Empty: break;
  }
  json.null();
}

// The table's columns in the order of the members: alphabetical.
std::vector<std::size_t> memberOrder(const Table& table) {
  std::vector<std::size_t> order(static_cast<std::size_t>(table.columns.size()));
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), [&table](std::size_t a, std::size_t b) {
    return table.columns[static_cast<qsizetype>(a)] < table.columns[static_cast<qsizetype>(b)];
  });
  return order;
}

// The row's cells from column `from` on, by column name; empty cells are null
// or, with `skipEmpty`, left out.
void jsonRow(JsonWriter& json, const Table& table, const std::vector<std::size_t>& order, const Row& row,
             std::size_t from = 0, bool skipEmpty = false) {
  json.beginObject();
  for (std::size_t i : order) {
    if (i < from || (skipEmpty && row[i].kind == Cell::Kind::Empty)) continue;
    json.key(table.columns[static_cast<qsizetype>(i)]);
    jsonCell(json, row[i]);
  }
  json.end();
}

void jsonRows(JsonWriter& json, const Table& table) {
  const std::vector<std::size_t> order = memberOrder(table);
  json.beginArray();
  for (const Row& row : table.rows) jsonRow(json, table, order, row);
  json.end();
}

// The miss view as one object: "worst_ten" (a list), "worst_run" and "total"
// (null when the pane has none), each with only the fields that apply to it.
void jsonMiss(JsonWriter& json, const Table& table) {
  const std::vector<std::size_t> order = memberOrder(table);
  const auto single = [&](const QString& kind) {
    json.key(kind);
    const auto found = std::find_if(table.rows.begin(), table.rows.end(),
                                    [&kind](const Row& row) { return row.front().text == kind; });
    if (found == table.rows.end())
      json.null();
    else
      jsonRow(json, table, order, *found, 1, true);
  };
  json.beginObject();
  single(MissKind::Total);
  single(MissKind::WorstRun);
  json.key(MissKind::WorstTen);
  json.beginArray();
  for (const Row& row : table.rows)
    if (row.front().text == MissKind::WorstTen) jsonRow(json, table, order, row, 1, true);
  json.end();
  json.end();
}

QString periodName(AveragePeriod period) {
  switch (period) {
    case AveragePeriod::Day: return u"day"_s;
    case AveragePeriod::Week: return u"week"_s;
    case AveragePeriod::Month: return u"month"_s;
    case AveragePeriod::Year: return u"year"_s;
    case AveragePeriod::Count: return u"count"_s;
  }
  return u"day"_s;  // the average view takes any other value as the day
}

// The settings the views were computed and shown with, named as the report
// tool's options.
void jsonOptions(JsonWriter& json, const ViewSettings& s) {
  json.beginObject();
  json.key("interval"_L1);
  json.number(s.countInterval);
  json.key("levelup"_L1);
  json.boolean(s.levelUpOnly);
  json.key("max_miss"_L1);
  json.number(s.maxMiss);
  json.key("min_hits"_L1);
  json.number(s.minHits);
  json.key("min_keys"_L1);
  json.number(s.minHitMiss);
  json.key("miss_down"_L1);
  json.boolean(!s.moreMissesAbove);
  json.key("nomiss"_L1);
  json.boolean(s.noMiss);
  json.key("period"_L1);
  json.string(periodName(s.period));
  json.key("rank_count"_L1);
  json.number(s.rankCount);
  json.key("recent"_L1);
  json.number(s.recentLimit);
  json.end();
}

void jsonRuns(JsonWriter& json, const ExportOutput& out, std::span<const PracticeRecord* const> runs,
              const Progress& progress) {
  // The four names are encoded once (the loader keeps no run of another mode).
  std::array<QByteArray, PracticeModeCount> names;
  for (int m = 0; m < PracticeModeCount; ++m)
    names[static_cast<std::size_t>(m)] = JsonWriter::encoded(modeTitleName(static_cast<PracticeMode>(m)));
  const auto total = static_cast<std::int64_t>(runs.size());
  json.beginArray();
  for (std::int64_t i = 0; i < total && !out.failed(); ++i) {
    const PracticeRecord& r = *runs[static_cast<std::size_t>(i)];
    json.beginObject();
    json.key("date"_L1);
    const DayCount::CivilDate date = DayCount::decodeDate(r.Date);
    if (date.year >= 0)
      json.date(date);
    else
      json.string(TextFormat::isoDate(r.Date));  // as the views write it
    json.key("hits"_L1);
    json.number(r.Hits);
    json.key("misses"_L1);
    json.number(r.Misses);
    json.key("mode"_L1);
    if (r.Mode < PracticeModeCount) {
      json.beginObject();
      json.key("code"_L1);
      json.number(r.Mode);
      json.key("name"_L1);
      json.encodedString(names[r.Mode]);
      json.end();
    } else {
      jsonMode(json, r.Mode);
    }
    json.key("time"_L1);
    json.time(DayCount::decodeTime(r.Time()));
    json.end();
    if (progress && (i + 1) % RunsPerProgress == 0) progress(i + 1, total);
  }
  json.end();
}

void jsonDate(JsonWriter& json, QDate date) {
  if (date.isValid())
    json.string(CalendarTexts::isoDate(date));
  else
    json.null();
}

void jsonStreak(JsonWriter& json, const PracticeStreak& streak) {
  json.beginObject();
  json.key("days"_L1);
  json.number(streak.days);
  json.key("first"_L1);
  jsonDate(json, streak.first);
  json.key("last"_L1);
  jsonDate(json, streak.last);
  json.end();
}

// The figures above the calendar's map and its practice days; the mode is null
// when the calendar counts every mode.
void jsonCalendar(JsonWriter& json, const PracticeCalendar& calendar) {
  json.beginObject();
  json.key("busiest_day"_L1);
  if (const PracticeDay* busiest = calendar.busiestDay()) {
    json.beginObject();
    json.key("date"_L1);
    json.string(CalendarTexts::isoDate(busiest->date));
    json.key("runs"_L1);
    json.number(busiest->runs);
    json.end();
  } else {
    json.null();
  }
  json.key("current_streak"_L1);
  jsonStreak(json, calendar.currentStreak());
  json.key("days"_L1);
  json.beginArray();
  for (const PracticeDay& d : calendar.days()) {
    json.beginObject();
    json.key("average_hits"_L1);
    json.decimal(TextFormat::fixed(d.averageHits, 1).toDouble());
    json.key("average_misses"_L1);
    json.decimal(TextFormat::fixed(d.averageMisses, 1).toDouble());
    json.key("best_hits"_L1);
    json.number(d.bestHits);
    json.key("date"_L1);
    json.string(CalendarTexts::isoDate(d.date));
    json.key("personal_best"_L1);
    json.boolean(d.personalBest);
    json.key("runs"_L1);
    json.number(d.runs);
    json.end();
  }
  json.end();
  json.key("days_this_year"_L1);
  json.number(calendar.practiceDaysIn(calendar.today().year()));
  json.key("longest_streak"_L1);
  jsonStreak(json, calendar.longestStreak());
  json.key("mode"_L1);
  if (calendar.mode())
    jsonMode(json, *calendar.mode());
  else
    json.null();
  json.key("practice_days"_L1);
  json.number(calendar.practiceDays());
  json.key("today"_L1);
  jsonDate(json, calendar.today());
  json.key("total_runs"_L1);
  json.decimal(static_cast<double>(calendar.totalRuns()));
  json.end();
}

}  // namespace

QString calendarName() { return CalendarViewName.toString(); }

QString viewName(View view) { return viewInfo(view).name.toString(); }

void jsonMode(JsonWriter& json, PracticeMode mode) {
  json.beginObject();
  json.key("code"_L1);
  json.number(mode);
  json.key("name"_L1);
  json.string(modeTitleName(mode));
  json.end();
}

Result writeTo(QIODevice& device, const std::function<void(ExportOutput&, Result&)>& write) {
  return exportTo(device, write);
}

QString outOfMemory(const QString& target) { return target + u" に書き出すためのメモリが足りません。"_s; }

Result writeRunsCsv(QIODevice& device, std::span<const PracticeRecord* const> runs, TextEncoding encoding,
                    const Progress& progress) {
  return exportTo(device, [&](ExportOutput& out, Result& result) {
    CsvWriter csv(out, encoding);
    for (const QString& column : {u"mode"_s, u"mode_name"_s, u"date"_s, u"time"_s, u"hits"_s, u"misses"_s})
      csv.text(column);
    csv.endRow();
    // The four names are encoded once (the loader keeps no run of another mode).
    std::array<QByteArray, PracticeModeCount> names;
    for (int m = 0; m < PracticeModeCount; ++m)
      names[static_cast<std::size_t>(m)] = csv.field(modeTitleName(static_cast<PracticeMode>(m)));
    const auto total = static_cast<std::int64_t>(runs.size());
    for (std::int64_t i = 0; i < total && !out.failed(); ++i) {
      const PracticeRecord& r = *runs[static_cast<std::size_t>(i)];
      csv.number(r.Mode);
      if (r.Mode < PracticeModeCount)
        csv.encoded(names[r.Mode]);
      else
        csv.empty();
      csv.date(DayCount::decodeDate(r.Date));
      csv.time(DayCount::decodeTime(r.Time()));
      csv.number(r.Hits);
      csv.number(r.Misses);
      csv.endRow();
      if (progress && (i + 1) % RunsPerProgress == 0) progress(i + 1, total);
    }
    result.replaced = csv.replaced();
  });
}

Result writeViewCsv(QIODevice& device, const ViewerCore& viewer, View view, TextEncoding encoding) {
  return exportTo(device, [&](ExportOutput& out, Result& result) {
    const Table table = viewTable(viewer, view);
    CsvWriter csv(out, encoding);
    for (const QString& column : table.columns) csv.text(column);
    csv.endRow();
    for (const Row& row : table.rows) {
      for (const Cell& cell : row) {
        switch (cell.kind) {
          case Cell::Kind::Empty: csv.empty(); break;
          case Cell::Kind::Number: csv.number(cell.number); break;
          case Cell::Kind::Text:
          case Cell::Kind::Decimal: csv.text(cell.text); break;
        }
      }
      csv.endRow();
    }
    result.replaced = csv.replaced();
  });
}

Result writeCalendarCsv(QIODevice& device, const PracticeCalendar& calendar, TextEncoding encoding) {
  return exportTo(device, [&](ExportOutput& out, Result& result) {
    CsvWriter csv(out, encoding);
    for (const QString& column :
         {u"date"_s, u"runs"_s, u"best_hits"_s, u"average_hits"_s, u"average_misses"_s, u"personal_best"_s})
      csv.text(column);
    csv.endRow();
    for (const PracticeDay& d : calendar.days()) {
      csv.date({d.date.year(), d.date.month(), d.date.day()});
      csv.number(d.runs);
      csv.number(d.bestHits);
      csv.text(TextFormat::fixed(d.averageHits, 1));
      csv.text(TextFormat::fixed(d.averageMisses, 1));
      csv.number(d.personalBest ? 1 : 0);
      csv.endRow();
    }
    result.replaced = csv.replaced();
  });
}

Result writeJson(QIODevice& device, const ViewerCore& viewer, const QList<View>& views, bool withRuns,
                 const QString& fileName, const PracticeCalendar* calendar, const Progress& progress,
                 const JsonMember& extra) {
  return exportTo(device, [&](ExportOutput& out, Result&) {
    JsonWriter json(out);
    // The document's members, by name: QJsonObject's order.
    std::map<QString, std::function<void()>> members;
    members[u"file"_s] = [&] { json.string(fileName); };
    members[u"mode"_s] = [&] { jsonMode(json, viewer.settings().practiceMode()); };
    members[u"options"_s] = [&] { jsonOptions(json, viewer.settings()); };
    if (withRuns) members[u"runs"_s] = [&] { jsonRuns(json, out, viewer.runsInView().runs, progress); };
    for (View view : views) {
      members[viewName(view)] = [&json, &viewer, view] {
        const Table table = viewTable(viewer, view);
        if (view == ViewMiss)
          jsonMiss(json, table);
        else
          jsonRows(json, table);
      };
    }
    if (calendar) members[calendarName()] = [&] { jsonCalendar(json, *calendar); };
    if (!extra.name.isEmpty()) members[extra.name] = [&] { extra.write(json); };
    json.beginObject();
    for (const auto& [name, write] : members) {
      if (out.failed()) return;
      json.key(name);
      write();
    }
    json.end();
  });
}

}  // namespace ViewExport
