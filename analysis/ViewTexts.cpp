#include "analysis/ViewTexts.h"

#include <algorithm>

#include "analysis/ModePass.h"
#include "analysis/TextFormat.h"

using namespace Qt::StringLiterals;

namespace ViewTexts {

namespace {

// The lines a view has after its header lines, newest first: `lines` holds them
// oldest first and ends with `headerCount` header lines (header last).
QStringList newestFirst(const QStringList& lines, int recentLimit, int headerCount) {
  qsizetype first = 0;
  if (recentLimit != 0 && lines.size() >= recentLimit + headerCount) first = lines.size() - (recentLimit + headerCount);
  QStringList pane;
  pane.reserve(lines.size() - first);
  for (qsizetype i = lines.size() - 1; i >= first; --i) pane << lines[i];
  return pane;
}

constexpr int HistoryHeaderLines = 3;
constexpr int GraphHeaderLines = 1;

// The ranking writes "かな" where the other views write "カナ".
QString rankingModeName(PracticeMode mode) { return mode == ModeKana ? u"かな"_s : modeTitleName(mode); }

QString rankLine(int rank, const PracticeRecord& r) {
  return u"第"_s + TextFormat::number(rank, 2) + u"位  "_s + TextFormat::isoDate(r.Date) + u"  "_s +
         TextFormat::clockTime(r.Time()) + u"  Hit:"_s + TextFormat::number(r.Hits, 4) + u"  Miss:"_s +
         TextFormat::number(r.Misses, 3);
}

}  // namespace

QString noRecordsText() { return u"　記録がありません。"_s; }

QStringList historyPaneLines(const QStringList& historyLines, int recentLimit) {
  QStringList pane = newestFirst(historyLines, recentLimit, HistoryHeaderLines);
  if (historyLines.size() == HistoryHeaderLines) {
    pane.removeAt(2);
    pane << noRecordsText();
  }
  return pane;
}

QStringList graphPaneLines(const QStringList& graphLines, int recentLimit) {
  return newestFirst(graphLines, recentLimit, GraphHeaderLines);
}

QStringList missPaneLines(const MissAnalysis& miss, PracticeMode mode) {
  constexpr int SlotTextLength = 50;
  const QString name = modeTitleName(mode);
  QStringList pane;
  pane << name + u"のヒット数が "_s + QString::number(miss.minHits()) + u" 以上のミス率ワースト１０"_s << QString();
  for (const MissSlot& slot : miss.worstTen()) {
    const QString text = slot.run ? missRunLine(*slot.run).left(SlotTextLength) : QString();
    pane << text + TextFormat::fixed2(static_cast<double>(slot.Rate) * 100.0, 7) + u'%';
  }
  pane << QString() << name + u"のミス打数のワースト記録（同数記録がある場合はヒット最少）"_s << QString()
       << (miss.worstRun() ? missRunLine(*miss.worstRun()) : QString());
  if (miss.totalHits() != 0) {
    const double ratio = static_cast<double>(miss.totalMisses()) / static_cast<double>(miss.totalHits()) * 100.0;
    pane << QString() << name + u"の生涯ミス率"_s << QString()
         << u" Hit:"_s + TextFormat::number(miss.totalHits(), 9) + u"  Miss:"_s +
                TextFormat::number(miss.totalMisses(), 8) + u"  MissAver:"_s + TextFormat::fixed2(ratio, 6) + u'%';
  }
  return pane;
}

QStringList bestPaneLines(const std::vector<const PracticeRecord*>& ranked, int rankCount, bool noMiss,
                          PracticeMode mode, const QDateTime& now) {
  const int shown =
      static_cast<int>(std::min<std::size_t>(ranked.size(), static_cast<std::size_t>(std::max(rankCount, 0))));
  QStringList pane;
  pane.reserve(shown + 2);
  pane << rankingModeName(mode) + noMissLabel(noMiss) + u"自己記録のベスト"_s + QString::number(rankCount) + u" ("_s +
              TextFormat::dateTimeStamp(now) + u" 現在)"_s
       << QString();
  for (int i = 0; i < shown; ++i) pane << rankLine(i + 1, *ranked[static_cast<std::size_t>(i)]);
  return pane;
}

QStringList graphCopyAllLines(const QStringList& paneLines, const ModePass& pass) {
  QStringList lines = paneLines;
  const qsizetype at = std::min<qsizetype>(1, lines.size());
  lines.insert(at, pass.GraphRuleLine);
  lines.insert(at, pass.GraphScaleLine);
  return lines;
}

}  // namespace ViewTexts
