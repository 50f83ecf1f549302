#include "analysis/AverageTrend.h"

#include <QStringBuilder>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

#include "analysis/ModePass.h"
#include "analysis/TextFormat.h"
#include "analysis/ViewTexts.h"
#include "platform/ShiftJis.h"

using namespace Qt::StringLiterals;

namespace {

// The numbers over the bars: the 0 stands in column 25, 50 ... 550 end in
// columns 36, 46, ... 136. The panel above the pane shows the same text.
constexpr std::u16string_view ScaleNumbers =
    u"                         0         50       100       150       200       250       300       350"
    u"       400       450       500       550";
// The ruler: its bar in column 25 (under the bars of the data lines), a plus
// sign in columns 36, 46, ... 136, one dash after the last.
constexpr std::u16string_view Ruler =
    u"                         |----------+---------+---------+---------+---------+---------+---------+-----"
    u"----+---------+---------+---------+-";
constexpr std::u16string_view ColumnHeader = u"  練習日    回数  平均";

constexpr int LabelColumns = 10;
constexpr int UnitsPerBarMark = 5;    // one bar mark per 5 average hits or misses
constexpr qsizetype ScaleStart = 20;  // the scale line takes the numbers from this column on
constexpr int ScaleColumnsBeyondBar = 6;
constexpr int RulerColumnsBeforeBar = 26;

// Column header and title lines that follow the data lines of AverageLines.
constexpr qsizetype HeaderLineCount = 2;

using GroupKey = std::int64_t;

QString toQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

bool isKept(const PracticeRecord& run, const AverageOptions& options) {
  return run.Mode == options.mode && (!options.noMiss || run.Misses == 0) && run.Misses <= options.maxMiss &&
         run.Hits + run.Misses >= options.minHitMiss;
}

// A block size of 0 or below counts as 1.
std::int64_t blockSize(const AverageOptions& options) { return std::max(options.countInterval, 1); }

// "%4d-%.2d-%.2d": the day label, also the label of a block.
QString dateLabel(const PracticeRecord& run) {
  return TextFormat::number(run.Year, 4) % u'-' % TextFormat::twoDigits(run.Month) % u'-' %
         TextFormat::twoDigits(run.Day);
}

// " 第%4d週"
QString weekLabel(GroupKey week) { return u" 第" % TextFormat::number(week, 4) % u'週'; }

// "%4d年%2d月"
QString monthLabel(const PracticeRecord& run) {
  return TextFormat::number(run.Year, 4) % u'年' % TextFormat::number(run.Month, 2) % u'月';
}

// "%4d年平均"
QString yearLabel(const PracticeRecord& run) { return TextFormat::number(run.Year, 4) % u"年平均"; }

// A label takes at most 10 columns; a cut never splits a double-byte character.
QString cutLabel(const QString& label) {
  return ShiftJis::width(label) <= LabelColumns ? label : ShiftJis::cutToWidth(label, LabelColumns);
}

void appendRepeated(QString& text, const QString& mark, int count) {
  if (count <= 0 || mark.isEmpty()) return;
  if (mark.size() == 1)
    text.resize(text.size() + count, mark.front());
  else
    text += mark.repeated(count);
}

// "%-10s%5d%4d(%3d) |" and the bar, one mark per 5 average hits, then per 5
// average misses: the bar's "|" stands in column 25. The line's room is
// reserved once.
QString averageLine(const QString& label, std::int64_t shownCount, int hitAverage, int missAverage,
                    const AverageOptions& options) {
  const int hitMarks = hitAverage / UnitsPerBarMark;
  const int missMarks = missAverage / UnitsPerBarMark;
  QString line;
  line.reserve(LabelColumns + 20 + hitMarks * options.hitMark.size() + missMarks * options.missMark.size());
  line += label;
  line.resize(line.size() + std::max(LabelColumns - ShiftJis::width(label), 0), u' ');
  line += TextFormat::number(shownCount, 5);
  line += TextFormat::number(hitAverage, 4);
  line += u'(';
  line += TextFormat::number(missAverage, 3);
  line += u") |"_s;
  appendRepeated(line, options.hitMark, hitMarks);
  appendRepeated(line, options.missMark, missMarks);
  return line;
}

// A mode outside the four has no name (and no kept run).
QString averageTitle(PracticeMode mode, bool noMiss) {
  return u"<<"_s + modeTitleName(mode) + noMissLabel(noMiss) + u"の平均の推移 >>"_s;
}

// The scale numbers from column 20 on, w + 6 characters (fewer where the text
// ends), after the column header; w is the longest bar in marks.
QString scaleLine(int largestTotal) {
  const qsizetype wanted = largestTotal / UnitsPerBarMark + ScaleColumnsBeyondBar;
  const qsizetype available = static_cast<qsizetype>(ScaleNumbers.size()) - ScaleStart;
  return toQString(ColumnHeader) +
         toQString(ScaleNumbers.substr(ScaleStart, static_cast<std::size_t>(std::min(wanted, available))));
}

// The first w + 26 characters of the ruler (at most all of it).
QString ruleLine(int largestTotal) {
  const std::size_t wanted = static_cast<std::size_t>(largestTotal / UnitsPerBarMark + RulerColumnsBeforeBar);
  return toQString(Ruler.substr(0, std::min(wanted, Ruler.size())));
}

// The sums of the group being collected.
struct GroupSums {
  std::int64_t hits = 0;
  std::int64_t misses = 0;
  std::int64_t runs = 0;

  void add(const PracticeRecord& run) {
    hits += run.Hits;
    misses += run.Misses;
    ++runs;
  }
  // A new block keeps the running count of runs.
  void clearSums() {
    hits = 0;
    misses = 0;
  }
};

// A finished group becomes a line and a chart point; the averages drop the
// fractions.
void addGroup(AverageTrend& trend, const AverageOptions& options, const QString& label, const GroupSums& sums,
              std::int64_t divisor, std::int64_t shownCount) {
  const int hitAverage = static_cast<int>(sums.hits / divisor);
  const int missAverage = static_cast<int>(sums.misses / divisor);
  trend.AverageLines.append(averageLine(label, shownCount, hitAverage, missAverage, options));
  trend.AveragePoints.push_back(ChartPoint{label, hitAverage, missAverage});
  trend.Groups.push_back(AverageGroup{label, shownCount, hitAverage, missAverage});
}

// The largest hit + miss average of all groups, which sizes the header texts.
int largestTotal(const ChartPoints& points) {
  int largest = 0;
  for (const ChartPoint& point : points) largest = std::max(largest, point.hits + point.misses);
  return largest;
}

// Groups the kept runs into runs of consecutive equal keys in load order. The
// first kept run always starts a group, whatever its key; the label is
// formatted from the first run of a group when the group is complete, so the
// walk itself formats nothing.
template <typename KeyOf, typename LabelOf>
void groupByKey(std::span<const PracticeRecord* const> allRecords, const AverageOptions& options, KeyOf keyOf,
                LabelOf labelOf, AverageTrend& trend) {
  std::optional<GroupKey> currentKey;
  const PracticeRecord* groupStart = nullptr;
  GroupSums group;
  const auto emitGroup = [&] {
    addGroup(trend, options, cutLabel(labelOf(*groupStart, *currentKey)), group, group.runs, group.runs);
  };
  for (const PracticeRecord* run : allRecords) {
    if (!isKept(*run, options)) continue;
    const GroupKey key = keyOf(*run);
    if (currentKey == key) {
      group.add(*run);
      continue;
    }
    if (currentKey) emitGroup();
    currentKey = key;
    groupStart = run;
    group = {};
    group.add(*run);
  }
  if (currentKey) emitGroup();
}

// Blocks of N kept runs. The run count is never reset: a finished block is
// shown with the running count of kept runs and labelled with the date of the
// run after it; the last block, full or partial, with the date of the last
// kept run.
void groupByBlocks(std::span<const PracticeRecord* const> allRecords, const AverageOptions& options,
                   AverageTrend& trend) {
  const std::int64_t size = blockSize(options);
  GroupSums block;
  const PracticeRecord* lastKept = nullptr;
  for (const PracticeRecord* run : allRecords) {
    if (!isKept(*run, options)) continue;
    lastKept = run;
    if (block.runs % size != 0) {
      block.add(*run);
      continue;
    }
    if (block.runs > 0) addGroup(trend, options, cutLabel(dateLabel(*run)), block, size, block.runs);
    block.clearSums();
    block.add(*run);
  }
  if (!lastKept) return;
  const std::int64_t lastBlockRuns = block.runs % size;
  addGroup(trend, options, cutLabel(dateLabel(*lastKept)), block, lastBlockRuns > 0 ? lastBlockRuns : size, block.runs);
}

// Weeks count from the day of the first loaded run (any mode): days 0 to 6
// after it are week 1. The division truncates toward zero, so days 1 to 6
// before it are week 1 as well.
GroupKey weekKey(const PracticeRecord& run, double firstDate) {
  return static_cast<GroupKey>(run.Date - firstDate) / 7 + 1;
}

void groupRuns(std::span<const PracticeRecord* const> allRecords, const AverageOptions& options, AverageTrend& trend) {
  if (allRecords.empty()) return;  // no first run: no week origin and nothing to group
  const double firstDate = allRecords.front()->Date;
  switch (options.period) {
    case AveragePeriod::Count: groupByBlocks(allRecords, options, trend); return;
    case AveragePeriod::Week:
      groupByKey(
          allRecords, options, [firstDate](const PracticeRecord& run) { return weekKey(run, firstDate); },
          [](const PracticeRecord&, GroupKey week) { return weekLabel(week); }, trend);
      return;
    case AveragePeriod::Month:
      groupByKey(
          allRecords, options, [](const PracticeRecord& run) { return GroupKey{run.Year} * 100 + run.Month; },
          [](const PracticeRecord& run, GroupKey) { return monthLabel(run); }, trend);
      return;
    case AveragePeriod::Year:
      groupByKey(
          allRecords, options, [](const PracticeRecord& run) { return GroupKey{run.Year}; },
          [](const PracticeRecord& run, GroupKey) { return yearLabel(run); }, trend);
      return;
    case AveragePeriod::Day:
    default:  // a grouping outside the five counts as the day
      groupByKey(
          allRecords, options,
          [](const PracticeRecord& run) { return GroupKey{run.Year} * 10000 + run.Month * 100 + run.Day; },
          [](const PracticeRecord& run, GroupKey) { return dateLabel(run); }, trend);
      return;
  }
}

}  // namespace

void AverageTrend::calculate(std::span<const PracticeRecord* const> allRecords, const AverageOptions& options) {
  AverageTitle.clear();
  AverageLines.clear();
  AveragePoints.clear();
  Groups.clear();

  groupRuns(allRecords, options, *this);

  const int largest = largestTotal(AveragePoints);
  AverageScaleLine = scaleLine(largest);
  AverageRuleLine = ruleLine(largest);
  AverageLines.append(toQString(ColumnHeader));
  AverageTitle = averageTitle(options.mode, options.noMiss);
  AverageLines.append(AverageTitle);
}

QStringList averagePaneLines(const QStringList& averageLines, int recentLimit) {
  qsizetype first = 0;
  // A limit of 0 (or below) shows every group.
  if (recentLimit > 0 && averageLines.size() > recentLimit + HeaderLineCount)
    first = averageLines.size() - (recentLimit + HeaderLineCount);

  QStringList pane;
  pane.reserve(averageLines.size() - first);
  for (qsizetype i = averageLines.size() - 1; i >= first; --i) pane.append(averageLines[i]);

  // No group: the title and the no-data text in place of the column header.
  if (averageLines.size() == HeaderLineCount) pane[1] = ViewTexts::noRecordsText();
  return pane;
}

QStringList averageCopyAllLines(const QStringList& paneLines, const AverageTrend& trend) {
  QStringList copied = paneLines;
  if (copied.size() < 2) return copied;  // no second line to stand in for
  copied[1] = trend.AverageScaleLine;
  copied.insert(2, trend.AverageRuleLine);
  return copied;
}
