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
#include "analysis/ViewTable.h"
#include "viewer/CsvWriter.h"
#include "viewer/ExportOutput.h"
#include "viewer/JsonWriter.h"
#include "viewer/ViewerCore.h"

using namespace Qt::StringLiterals;

namespace ViewExport {

namespace {

// Runs written between two looks at the progress and at a failed write.
constexpr std::int64_t RunsPerProgress = 16384;

using Cell = ViewCell;
using Row = ViewRow;
using Table = ViewTable;

Table viewTable(const ViewerCore& viewer, View view) {
  return viewInfo(view).table(viewer.passes(), viewer.settings());
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

// A table of kinds as one object: a member per kind (the kinds in the order
// of their names), each a single row (null when the table has none) or a list,
// with only the fields that apply to the row.
void jsonKinds(JsonWriter& json, const Table& table) {
  const std::vector<std::size_t> order = memberOrder(table);
  json.beginObject();
  for (const Table::Kind& kind : table.kinds) {
    json.key(kind.name);
    const auto isKind = [&kind](const Row& row) { return row.front().text == kind.name; };
    if (kind.list) {
      json.beginArray();
      for (const Row& row : table.rows)
        if (isKind(row)) jsonRow(json, table, order, row, 1, true);
      json.end();
      continue;
    }
    const auto found = std::find_if(table.rows.begin(), table.rows.end(), isKind);
    if (found == table.rows.end())
      json.null();
    else
      jsonRow(json, table, order, *found, 1, true);
  }
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
        if (table.kinds.empty())
          jsonRows(json, table);
        else
          jsonKinds(json, table);
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
