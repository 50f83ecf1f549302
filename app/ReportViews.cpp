#include "app/ReportViews.h"

#include "analysis/AverageTrend.h"
#include "analysis/ModePass.h"
#include "analysis/ViewTexts.h"
#include "records/DayCount.h"

using namespace Qt::StringLiterals;

namespace {

const QList<View> AllViews = {ViewHistory, ViewGraph, ViewAverage, ViewMiss, ViewBest};

bool needsModePass(const QList<View>& views) {
  for (View v : views)
    if (v != ViewAverage) return true;
  return false;
}

ModePassOptions modePassOptions(const ReportViewSettings& s) {
  ModePassOptions o;
  o.mode = s.mode;
  o.noMiss = s.noMiss;
  o.levelUpOnly = s.levelUpOnly;
  o.hitMark = s.hitMark;
  o.missMark = s.missMark;
  o.startDate = DayCount::encodeDate(s.now.date().year(), s.now.date().month(), s.now.date().day()).value_or(0);
  o.moreMissesAbove = s.moreMissesAbove;
  o.minHits = s.minHits;
  return o;
}

AverageOptions averageOptions(const ReportViewSettings& s) {
  AverageOptions o;
  o.mode = s.mode;
  o.noMiss = s.noMiss;
  o.period = static_cast<AveragePeriod>(static_cast<int>(s.period) + 1);
  o.maxMiss = s.maxMiss;
  o.minHitMiss = s.minHitMiss;
  o.countInterval = s.countInterval;
  o.hitMark = s.hitMark;
  o.missMark = s.missMark;
  return o;
}

QString joined(const QStringList& lines) { return lines.join(u'\n') + u'\n'; }

}  // namespace

ReportViewSettings ReportViewSettings::from(const MainOptions& stored, const ReportOptions& command,
                                            const QDateTime& clock) {
  ReportViewSettings s;
  const bool storedModeKnown = stored.defaultType >= 0 && stored.defaultType < PracticeModeCount;
  s.mode = static_cast<PracticeMode>(command.mode.value_or(storedModeKnown ? stored.defaultType : ModeRomaji));
  s.noMiss = command.nomiss;
  s.levelUpOnly = command.levelup;
  s.period = command.period;
  s.countInterval = command.interval.value_or(stored.countInterval);
  s.maxMiss = command.maxMiss.value_or(stored.maxMiss);
  s.minHitMiss = command.minKeys.value_or(stored.maxHitMiss);
  s.minHits = command.minHits;
  s.rankCount = command.rankCount.value_or(stored.rankCount);
  s.moreMissesAbove = command.missDown ? false : stored.missEval;
  s.recentLimit = command.recent.value_or(stored.recent);
  s.hitMark = command.hitMark.value_or(stored.hitMark);
  s.missMark = command.missMark.value_or(stored.missMark);
  s.now = command.now.value_or(clock);
  return s;
}

QString reportViewName(View view) {
  switch (view) {
    case ViewHistory: return u"history"_s;
    case ViewGraph: return u"graph"_s;
    case ViewAverage: return u"average"_s;
    case ViewMiss: return u"miss"_s;
    case ViewBest: return u"best"_s;
  }
  return {};
}

QString reportViewsText(const LoadedRecords& records, const QList<View>& requested, bool copyAll,
                        const ReportViewSettings& settings) {
  const QList<View>& views = requested.isEmpty() ? AllViews : requested;
  const std::span<const PracticeRecord* const> all(records.AllRecords.data(), records.AllRecords.size());

  ModePass pass;
  CelebrationFlags celebration;
  if (needsModePass(views)) pass.run(all, records.ModeCounts, modePassOptions(settings), celebration);
  AverageTrend trend;
  if (views.contains(ViewAverage)) trend.calculate(all, averageOptions(settings));

  QString text;
  for (View view : views) {
    if (views.size() > 1) text += u"==== "_s + reportViewName(view) + u'\n';
    switch (view) {
      case ViewHistory: text += joined(ViewTexts::historyPaneLines(pass.HistoryLines, settings.recentLimit)); break;
      case ViewGraph: {
        const QStringList pane = ViewTexts::graphPaneLines(pass.GraphLines, settings.recentLimit);
        text += joined(copyAll ? ViewTexts::graphCopyAllLines(pane, pass) : pane);
        break;
      }
      case ViewAverage: {
        const QStringList pane = averagePaneLines(trend.AverageLines, settings.recentLimit);
        text += joined(copyAll ? averageCopyAllLines(pane, trend) : pane);
        break;
      }
      case ViewMiss:
        // Under the no-miss option the miss pane is hidden and copy all copies nothing.
        if (!(copyAll && settings.noMiss)) text += joined(ViewTexts::missPaneLines(pass.Miss, settings.mode));
        break;
      case ViewBest:
        text += joined(ViewTexts::bestPaneLines(pass.ModeRecords, settings.rankCount, settings.noMiss, settings.mode,
                                                settings.now));
        break;
    }
  }
  return text;
}
