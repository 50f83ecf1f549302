#include "viewer/ViewExport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <vector>

#include "analysis/CalendarTexts.h"
#include "analysis/ModePass.h"
#include "analysis/PracticeCalendar.h"
#include "analysis/TextFormat.h"
#include "viewer/CsvWriter.h"
#include "viewer/ViewerCore.h"

using namespace Qt::StringLiterals;

namespace ViewExport {

namespace {

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

QJsonValue jsonValue(const Cell& cell) {
  switch (cell.kind) {
    case Cell::Kind::Number: return static_cast<double>(cell.number);
    case Cell::Kind::Text: return cell.text;
    case Cell::Kind::Decimal: return cell.text.toDouble();
    case Cell::Kind::Empty: break;
  }
  return QJsonValue::Null;
}

// The row's cells from column `from` on, by column name; empty cells are null
// or, with `skipEmpty`, left out.
QJsonObject jsonRow(const Table& table, const Row& row, std::size_t from = 0, bool skipEmpty = false) {
  QJsonObject object;
  for (std::size_t i = from; i < row.size(); ++i)
    if (!skipEmpty || row[i].kind != Cell::Kind::Empty)
      object.insert(table.columns[static_cast<qsizetype>(i)], jsonValue(row[i]));
  return object;
}

QJsonArray jsonRows(const Table& table) {
  QJsonArray rows;
  for (const Row& row : table.rows) rows.append(jsonRow(table, row));
  return rows;
}

// The miss view as one object: "worst_ten" (a list), "worst_run" and "total"
// (null when the pane has none), each with only the fields that apply to it.
QJsonObject jsonMiss(const Table& table) {
  QJsonObject miss{{MissKind::WorstRun, QJsonValue::Null}, {MissKind::Total, QJsonValue::Null}};
  QJsonArray worstTen;
  for (const Row& row : table.rows) {
    const QJsonObject fields = jsonRow(table, row, 1, true);
    if (row.front().text == MissKind::WorstTen)
      worstTen.append(fields);
    else
      miss.insert(row.front().text, fields);
  }
  miss.insert(MissKind::WorstTen, worstTen);
  return miss;
}

QJsonObject jsonMode(PracticeMode mode) { return {{u"code"_s, mode}, {u"name"_s, modeTitleName(mode)}}; }

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
QJsonObject jsonOptions(const ViewSettings& s) {
  return {{u"nomiss"_s, s.noMiss},          {u"levelup"_s, s.levelUpOnly},  {u"period"_s, periodName(s.period)},
          {u"interval"_s, s.countInterval}, {u"max_miss"_s, s.maxMiss},     {u"min_keys"_s, s.minHitMiss},
          {u"min_hits"_s, s.minHits},       {u"rank_count"_s, s.rankCount}, {u"miss_down"_s, !s.moreMissesAbove},
          {u"recent"_s, s.recentLimit}};
}

QJsonArray jsonRuns(const LoadedRecords& records) {
  std::array<QJsonObject, PracticeModeCount> modes;
  for (int m = 0; m < PracticeModeCount; ++m)
    modes[static_cast<std::size_t>(m)] = jsonMode(static_cast<PracticeMode>(m));
  QJsonArray runs;
  for (const PracticeRecord* r : records.AllRecords) {
    const QJsonValue mode = r->Mode < PracticeModeCount ? QJsonValue(modes[r->Mode]) : QJsonValue(jsonMode(r->Mode));
    runs.append(QJsonObject{{u"mode"_s, mode},
                            {u"date"_s, TextFormat::isoDate(r->Date)},
                            {u"time"_s, TextFormat::clockTime(r->Time())},
                            {u"hits"_s, r->Hits},
                            {u"misses"_s, r->Misses}});
  }
  return runs;
}

// The calendar's columns and the members of its days.
const QStringList CalendarColumns = {u"date"_s,         u"runs"_s,           u"best_hits"_s,
                                     u"average_hits"_s, u"average_misses"_s, u"personal_best"_s};

QJsonValue jsonDate(QDate date) { return date.isValid() ? QJsonValue(CalendarTexts::isoDate(date)) : QJsonValue(); }

QJsonObject jsonStreak(const PracticeStreak& streak) {
  return {{u"days"_s, streak.days}, {u"first"_s, jsonDate(streak.first)}, {u"last"_s, jsonDate(streak.last)}};
}

// The figures above the calendar's map and its practice days; the mode is null
// when the calendar counts every mode.
QJsonObject jsonCalendar(const PracticeCalendar& calendar) {
  QJsonArray days;
  for (const PracticeDay& d : calendar.days())
    days.append(QJsonObject{{CalendarColumns[0], CalendarTexts::isoDate(d.date)},
                            {CalendarColumns[1], d.runs},
                            {CalendarColumns[2], d.bestHits},
                            {CalendarColumns[3], CalendarTexts::oneDecimal(d.averageHits).toDouble()},
                            {CalendarColumns[4], CalendarTexts::oneDecimal(d.averageMisses).toDouble()},
                            {CalendarColumns[5], d.personalBest}});
  const PracticeDay* busiest = calendar.busiestDay();
  return {{u"mode"_s, calendar.mode() ? QJsonValue(jsonMode(*calendar.mode())) : QJsonValue()},
          {u"today"_s, jsonDate(calendar.today())},
          {u"current_streak"_s, jsonStreak(calendar.currentStreak())},
          {u"longest_streak"_s, jsonStreak(calendar.longestStreak())},
          {u"days_this_year"_s, calendar.practiceDaysIn(calendar.today().year())},
          {u"practice_days"_s, calendar.practiceDays()},
          {u"total_runs"_s, static_cast<double>(calendar.totalRuns())},
          {u"busiest_day"_s, busiest ? QJsonValue(QJsonObject{{u"date"_s, CalendarTexts::isoDate(busiest->date)},
                                                              {u"runs"_s, busiest->runs}})
                                     : QJsonValue()},
          {u"days"_s, days}};
}

}  // namespace

QString calendarName() { return u"calendar"_s; }

QString viewName(View view) {
  switch (view) {
    case ViewHistory: return u"history"_s;
    case ViewGraph: return u"graph"_s;
    case ViewAverage: return u"average"_s;
    case ViewMiss: return u"miss"_s;
    case ViewBest: return u"best"_s;
  }
  return {};
}

QByteArray runsCsv(const LoadedRecords& records, TextEncoding encoding, int* replaced) {
  CsvWriter csv(encoding);
  for (const QString& column : {u"mode"_s, u"mode_name"_s, u"date"_s, u"time"_s, u"hits"_s, u"misses"_s})
    csv.text(column);
  csv.endRow();
  // The four names are encoded once (the loader keeps no run of another mode).
  std::array<QByteArray, PracticeModeCount> names;
  for (int m = 0; m < PracticeModeCount; ++m)
    names[static_cast<std::size_t>(m)] = csv.field(modeTitleName(static_cast<PracticeMode>(m)));
  csv.reserve(static_cast<qsizetype>(records.AllRecords.size()) * 48 + 64);
  for (const PracticeRecord* r : records.AllRecords) {
    csv.number(r->Mode);
    if (r->Mode < PracticeModeCount)
      csv.encoded(names[r->Mode]);
    else
      csv.empty();
    csv.date(DayCount::decodeDate(r->Date));
    csv.time(DayCount::decodeTime(r->Time()));
    csv.number(r->Hits);
    csv.number(r->Misses);
    csv.endRow();
  }
  if (replaced) *replaced = csv.replaced();
  return csv.take();
}

QByteArray viewCsv(const ViewerCore& viewer, View view, TextEncoding encoding, int* replaced) {
  const Table table = viewTable(viewer, view);
  CsvWriter csv(encoding);
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
  if (replaced) *replaced = csv.replaced();
  return csv.take();
}

QByteArray calendarCsv(const PracticeCalendar& calendar, TextEncoding encoding, int* replaced) {
  CsvWriter csv(encoding);
  for (const QString& column : CalendarColumns) csv.text(column);
  csv.endRow();
  csv.reserve(static_cast<qsizetype>(calendar.days().size()) * 40 + 64);
  for (const PracticeDay& d : calendar.days()) {
    csv.date({d.date.year(), d.date.month(), d.date.day()});
    csv.number(d.runs);
    csv.number(d.bestHits);
    csv.text(CalendarTexts::oneDecimal(d.averageHits));
    csv.text(CalendarTexts::oneDecimal(d.averageMisses));
    csv.number(d.personalBest ? 1 : 0);
    csv.endRow();
  }
  if (replaced) *replaced = csv.replaced();
  return csv.take();
}

QByteArray json(const ViewerCore& viewer, const QList<View>& views, bool withRuns, const QString& fileName,
                const PracticeCalendar* calendar) {
  QJsonObject document{{u"file"_s, fileName},
                       {u"mode"_s, jsonMode(viewer.settings().mode)},
                       {u"options"_s, jsonOptions(viewer.settings())}};
  if (withRuns) document.insert(u"runs"_s, jsonRuns(viewer.records()));
  for (View view : views) {
    const Table table = viewTable(viewer, view);
    document.insert(viewName(view), view == ViewMiss ? QJsonValue(jsonMiss(table)) : QJsonValue(jsonRows(table)));
  }
  if (calendar) document.insert(calendarName(), jsonCalendar(*calendar));
  return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

}  // namespace ViewExport
