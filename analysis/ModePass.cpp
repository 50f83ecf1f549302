#include "analysis/ModePass.h"

#include <algorithm>

#include "analysis/RankingSelection.h"
#include "analysis/TextFormat.h"
#include "platform/ShiftJis.h"

using namespace Qt::StringLiterals;

namespace {

// One bar character stands for 5 hits or 5 misses.
constexpr int UnitsPerMark = 5;
// The scale's text before the first bar column, in bytes.
constexpr int ScaleLead = 11;

// The history line of a record:
// "1998-03-15  21:05:33  Hit: 245  Miss:  3    57回   12回    5日 (Level 9)"
QString historyLine(const PracticeRecord& r, int count, int runsSince, long long days, const QString& levelText) {
  return TextFormat::isoDate(r.Date) + u"  "_s + TextFormat::clockTime(r.Time()) + u"  Hit:"_s +
         TextFormat::number(r.Hits, 4) + u"  Miss:"_s + TextFormat::number(r.Misses, 3) + TextFormat::number(count, 6) +
         u"回"_s + TextFormat::number(runsSince, 5) + u"回"_s + TextFormat::number(days, 5) + u"日"_s + levelText;
}

}  // namespace

int levelOf(PracticeMode mode, int bestHits) {
  const int k = bestHits / 25;
  switch (mode) {
    case ModeAlphabet: return std::max(k, 1);
    case ModeRomaji: return std::max(k - 1, 1);
    default: return k + 1;  // kana and symbols
  }
}

QString modeTitleName(PracticeMode mode) {
  return mode < PracticeModeCount
             ? QString::fromUtf16(ModeName[mode].data(), static_cast<qsizetype>(ModeName[mode].size()))
             : QString();
}

QString noMissLabel(bool noMiss) { return noMiss ? u"ノーミス"_s : QString(); }

QString graphScaleText() {
  return u" 更新日             50       100       150       200       250       300       350       400       450       500       550"_s;
}

QString graphRuleText() {
  return u"        |----------+---------+---------+---------+---------+---------+---------+---------+---------+---------+---------+-"_s;
}

namespace {

const PracticeRecord& runOf(const PracticeRecord& run) { return run; }
const PracticeRecord& runOf(const PracticeRecord* run) { return *run; }

}  // namespace

void ModePass::run(std::span<const PracticeRecord* const> allRecords, const ModePassOptions& options,
                   CelebrationFlags& celebration) {
  runOver(allRecords, options, celebration);
}

void ModePass::run(std::span<const PracticeRecord> allRecords, const ModePassOptions& options,
                   CelebrationFlags& celebration) {
  runOver(allRecords, options, celebration);
}

template <class Runs>
void ModePass::runOver(const Runs& allRecords, const ModePassOptions& options, CelebrationFlags& celebration) {
  HistoryLines.clear();
  History.clear();
  RecordRuns.clear();
  GraphLines.clear();
  RecordPoints.clear();
  GraphTitle.clear();
  ModeRecords.clear();
  ownRuns_.clear();
  KeptRuns = 0;
  best = 0;
  celebrate = false;
  Miss.reset(options.minHits);

  const bool knownMode = options.mode < PracticeModeCount;
  CelebrationFlags::PerMode unknownModeFlags;
  CelebrationFlags::PerMode& flags = knownMode ? celebration.modes[options.mode] : unknownModeFlags;
  walk(allRecords, options, flags);

  if (flags.RecordToday && !flags.BannerShown) {
    celebrate = true;
    flags.BannerShown = true;
  }
}

const PracticeRecord* ModePass::keepCopy(const PracticeRecord& run) { return &ownRuns_.emplace_back(run); }

// One walk in load order over the runs of the mode (without misses under
// no-miss): the history, the miss analyses and the ranking's candidates.
template <class Runs>
void ModePass::walk(const Runs& allRecords, const ModePassOptions& options, CelebrationFlags::PerMode& flags) {
  RankingSelection ranking(options.moreMissesAbove, RankingPlaces);
  int bestWidth = 0;
  int level = 1;
  int count = 0;
  int lastShownCount = 0;
  int shownLines = 0;
  double lastShownDate = 0;

  int bestHits = 0;
  const auto take = [&](const PracticeRecord& r) {
    ++count;
    ranking.offer(r);
    if (!options.noMiss) Miss.addRun(r);
    if (r.Hits <= bestHits) return;

    const PracticeRecord* kept = keepCopy(r);
    bestHits = r.Hits;
    bestWidth = r.Hits + r.Misses;
    if (r.Date == options.startDate) flags.RecordToday = true;

    QString levelText;
    int levelRisen = 0;
    const int newLevel = levelOf(options.mode, bestHits);
    if (newLevel > level) {
      levelText = u" (Level "_s + QString::number(newLevel) + u')';
      level = newLevel;
      levelRisen = newLevel;
    }
    if (!options.levelUpOnly || !levelText.isEmpty()) {
      const int runsSince = count - lastShownCount;
      lastShownCount = count;
      const long long days = shownLines == 0 ? 0 : static_cast<long long>(r.Date - lastShownDate);
      ++shownLines;
      lastShownDate = r.Date;
      HistoryLines << historyLine(r, count, runsSince, days, levelText);
      History.push_back({kept, count, runsSince, days, levelRisen});
    }
    RecordRuns.push_back(kept);
    GraphLines << TextFormat::isoDate(r.Date) + u' ' + TextFormat::repeated(options.hitMark, r.Hits / UnitsPerMark) +
                      TextFormat::repeated(options.missMark, r.Misses / UnitsPerMark);
    RecordPoints.push_back({TextFormat::shortDate(r.Date), r.Hits, r.Misses});
  };

  // The runs of the mode are picked a batch at a time without a branch (the
  // modes of a file alternate beyond any prediction), then taken in order.
  constexpr std::size_t Batch = 256;
  std::array<const PracticeRecord*, Batch> picked;
  const PracticeMode mode = options.mode;
  const bool noMiss = options.noMiss;
  for (std::size_t first = 0; first < allRecords.size(); first += Batch) {
    const std::size_t last = std::min(allRecords.size(), first + Batch);
    std::size_t found = 0;
    for (std::size_t i = first; i < last; ++i) {
      const PracticeRecord& r = runOf(allRecords[i]);
      picked[found] = &r;
      found += static_cast<std::size_t>((r.Mode == mode) & (!noMiss | (r.Misses == 0)));
    }
    for (std::size_t i = 0; i < found; ++i) take(*picked[i]);
  }
  best = bestHits;
  KeptRuns = static_cast<std::size_t>(count);

  ranking.finish(ModeRecords);
  for (const PracticeRecord*& ranked : ModeRecords) ranked = keepCopy(*ranked);
  Miss.keepCopies([this](const PracticeRecord& run) { return keepCopy(run); });
  finishTexts(options, shownLines, bestWidth);
}

void ModePass::finishTexts(const ModePassOptions& options, int shownLines, int bestWidth) {
  const int cut = bestWidth / UnitsPerMark + ScaleLead;
  GraphScaleLine = ShiftJis::cutToWidth(graphScaleText(), cut);
  GraphRuleLine = graphRuleText().left(cut);

  const QString title = modeTitleName(options.mode) + noMissLabel(options.noMiss);
  HistoryLines << u" 記録更新日  更新時刻                     通算回数   経過期間"_s
               << u"※記録更新回数: "_s + QString::number(shownLines) + u"回"_s + u"（総練習回数："_s +
                      QString::number(KeptRuns) + u"回）"_s
               << u"<<"_s + title + u"の足跡 >>"_s;
  GraphTitle = u"<<"_s + title + u"の成長グラフ >>"_s;
  GraphLines << GraphTitle;
}
