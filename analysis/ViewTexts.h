#pragma once

#include <QDateTime>
#include <QStringList>

#include <vector>

#include "analysis/MissWorstTen.h"
#include "records/PracticeRecord.h"

class ModePass;

// The text of the panes, line by line, as ShowHokoseki, ShowGraph, ShowMiss and
// ShowBest put it there (the average pane is in AverageTrend.h), and what
// "copy all" takes from them.
namespace ViewTexts {

// "　記録がありません。", shown where a view has no line.
QString noRecordsText();

// ShowHokoseki: title, totals and column header, then the newest record lines
// first, at most `recentLimit` of them (0 = all).
QStringList historyPaneLines(const QStringList& historyLines, int recentLimit);

// ShowGraph: the title, then the newest bars first, at most `recentLimit`.
QStringList graphPaneLines(const QStringList& graphLines, int recentLimit);

// ShowMiss: the worst ten, the worst single run and the lifetime miss ratio.
QStringList missPaneLines(const MissAnalysis& miss, PracticeMode mode);

// ShowBest: the header with the count asked for and the time of `now`, an
// empty line, then one line per rank.
QStringList bestPaneLines(const std::vector<const PracticeRecord*>& ranked, int rankCount, bool noMiss,
                          PracticeMode mode, const QDateTime& now);

// Copy all of the graph tab: the scale line and the ruler after the title.
QStringList graphCopyAllLines(const QStringList& paneLines, const ModePass& pass);

}  // namespace ViewTexts
