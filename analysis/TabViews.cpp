#include "analysis/TabViews.h"

#include <algorithm>

#include "analysis/AverageTrend.h"
#include "analysis/ModePass.h"
#include "analysis/ViewSettings.h"
#include "analysis/ViewTexts.h"

using namespace Qt::StringLiterals;

namespace {

ViewCell dateCell(const PracticeRecord& r) { return ViewCell::of(TextFormat::isoDate(r.Date)); }
ViewCell timeCell(const PracticeRecord& r) { return ViewCell::of(TextFormat::clockTime(r.Time())); }

// How many of `count` lines a pane shows under its display-count limit (0 = all).
std::size_t newestShown(std::size_t count, int recentLimit) {
  return recentLimit > 0 ? std::min(count, static_cast<std::size_t>(recentLimit)) : count;
}

// The newest `shown` of `items` (oldest first), newest first as the panes list them.
template <typename Item, typename RowOf>
void addNewestFirst(ViewTable& table, const std::vector<Item>& items, int recentLimit, RowOf rowOf) {
  const std::size_t shown = newestShown(items.size(), recentLimit);
  table.rows.reserve(shown);
  for (std::size_t i = 0; i < shown; ++i) table.rows.push_back(rowOf(items[items.size() - 1 - i]));
}

ChartInput recordUpdates(const ViewPasses& passes) { return {passes.records.RecordPoints, passes.records.GraphTitle}; }

}  // namespace

namespace HistoryView {

QStringList paneLines(const ViewPasses& passes, const ViewSettings& s) {
  return ViewTexts::historyPaneLines(passes.records.HistoryLines, s.recentLimit);
}

ChartInput chartInput(const ViewPasses& passes) { return recordUpdates(passes); }

ViewTable table(const ViewPasses& passes, const ViewSettings& s) {
  ViewTable table{
      {u"date"_s, u"time"_s, u"hits"_s, u"misses"_s, u"runs"_s, u"runs_since"_s, u"days_since"_s, u"level"_s}, {}, {}};
  addNewestFirst(table, passes.records.History, s.recentLimit, [](const HistoryEntry& e) {
    return ViewRow{dateCell(*e.run),          timeCell(*e.run),
                   ViewCell::of(e.run->Hits), ViewCell::of(e.run->Misses),
                   ViewCell::of(e.runsSoFar), ViewCell::of(e.runsSince),
                   ViewCell::of(e.daysSince), e.level > 0 ? ViewCell::of(e.level) : ViewCell{}};
  });
  return table;
}

}  // namespace HistoryView

namespace GraphView {

QStringList paneLines(const ViewPasses& passes, const ViewSettings& s) {
  return ViewTexts::graphPaneLines(passes.records.GraphLines, s.recentLimit);
}

QStringList copyAllLines(const ViewPasses& passes, const QStringList& paneLines) {
  return ViewTexts::graphCopyAllLines(paneLines, passes.records);
}

ChartInput chartInput(const ViewPasses& passes) { return recordUpdates(passes); }

ViewTable table(const ViewPasses& passes, const ViewSettings& s) {
  ViewTable table{{u"date"_s, u"hits"_s, u"misses"_s}, {}, {}};
  addNewestFirst(table, passes.records.RecordRuns, s.recentLimit, [](const PracticeRecord* r) {
    return ViewRow{dateCell(*r), ViewCell::of(r->Hits), ViewCell::of(r->Misses)};
  });
  return table;
}

}  // namespace GraphView

namespace AverageView {

QStringList paneLines(const ViewPasses& passes, const ViewSettings& s) {
  return averagePaneLines(passes.averages.AverageLines, s.recentLimit);
}

QStringList copyAllLines(const ViewPasses& passes, const QStringList& paneLines) {
  return averageCopyAllLines(paneLines, passes.averages);
}

ChartInput chartInput(const ViewPasses& passes) {
  return {passes.averages.AveragePoints, passes.averages.AverageTitle};
}

ViewTable table(const ViewPasses& passes, const ViewSettings& s) {
  ViewTable table{{u"period"_s, u"runs"_s, u"hit_average"_s, u"miss_average"_s}, {}, {}};
  addNewestFirst(table, passes.averages.Groups, s.recentLimit, [](const AverageGroup& g) {
    return ViewRow{ViewCell::of(g.label.trimmed()), ViewCell::of(g.runs), ViewCell::of(g.hitAverage),
                   ViewCell::of(g.missAverage)};
  });
  return table;
}

}  // namespace AverageView

namespace MissView {

QStringList paneLines(const ViewPasses& passes, const ViewSettings& s) {
  return ViewTexts::missPaneLines(passes.records.Miss, s.practiceMode());
}

ViewTable table(const ViewPasses& passes, const ViewSettings&) {
  const QString worstTen = u"worst_ten"_s;
  const QString worstRun = u"worst_run"_s;
  const QString total = u"total"_s;
  const MissAnalysis& miss = passes.records.Miss;
  ViewTable table{{u"kind"_s, u"rank"_s, u"date"_s, u"time"_s, u"hits"_s, u"misses"_s, u"miss_rate"_s},
                  {},
                  {{total, false}, {worstRun, false}, {worstTen, true}}};
  const ViewCell none;
  int rank = 0;
  for (const MissSlot& slot : miss.worstTen()) {
    ++rank;
    if (!slot.run) continue;
    const PracticeRecord& r = *slot.run;
    table.rows.push_back({ViewCell::of(worstTen), ViewCell::of(rank), dateCell(r), timeCell(r), ViewCell::of(r.Hits),
                          ViewCell::of(r.Misses), ViewCell::decimal(static_cast<double>(slot.Rate) * 100.0)});
  }
  if (const PracticeRecord* r = miss.worstRun())
    table.rows.push_back({ViewCell::of(worstRun), none, dateCell(*r), timeCell(*r), ViewCell::of(r->Hits),
                          ViewCell::of(r->Misses), none});
  // The lifetime ratio is misses per hit, and the pane shows it only when there is a hit.
  if (miss.totalHits() != 0) {
    const double ratio = static_cast<double>(miss.totalMisses()) / static_cast<double>(miss.totalHits()) * 100.0;
    table.rows.push_back({ViewCell::of(total), none, none, none, ViewCell::of(miss.totalHits()),
                          ViewCell::of(miss.totalMisses()), ViewCell::decimal(ratio)});
  }
  return table;
}

}  // namespace MissView

namespace BestView {

QStringList paneLines(const ViewPasses& passes, const ViewSettings& s) {
  return ViewTexts::bestPaneLines(passes.records.ModeRecords, s.rankCount, s.noMiss, s.practiceMode(), s.now);
}

ViewTable table(const ViewPasses& passes, const ViewSettings& s) {
  const auto& ranked = passes.records.ModeRecords;
  ViewTable table{{u"rank"_s, u"date"_s, u"time"_s, u"hits"_s, u"misses"_s}, {}, {}};
  const std::size_t shown = std::min(ranked.size(), static_cast<std::size_t>(std::max(s.rankCount, 0)));
  table.rows.reserve(shown);
  for (std::size_t i = 0; i < shown; ++i) {
    const PracticeRecord& r = *ranked[i];
    table.rows.push_back({ViewCell::of(static_cast<long long>(i) + 1), dateCell(r), timeCell(r), ViewCell::of(r.Hits),
                          ViewCell::of(r.Misses)});
  }
  return table;
}

}  // namespace BestView
