#include "viewer/PaneLines.h"

#include "analysis/ViewTexts.h"

namespace PaneLines {

QStringList of(View view, const ModePass& pass, const AverageTrend& trend, const ViewSettings& s) {
  switch (view) {
    case ViewHistory: return ViewTexts::historyPaneLines(pass.HistoryLines, s.recentLimit);
    case ViewGraph: return ViewTexts::graphPaneLines(pass.GraphLines, s.recentLimit);
    case ViewAverage: return averagePaneLines(trend.AverageLines, s.recentLimit);
    case ViewMiss: return ViewTexts::missPaneLines(pass.Miss, s.practiceMode());
    case ViewBest: return ViewTexts::bestPaneLines(pass.ModeRecords, s.rankCount, s.noMiss, s.practiceMode(), s.now);
  }
  return {};
}

}  // namespace PaneLines
