#include "app/ReportOptions.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <map>

#include "records/PracticeRecord.h"
#include "settings/Options.h"
#include "viewer/ProgressExport.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

namespace {

class ReportOptionError {
 public:
  explicit ReportOptionError(QString text) : text(std::move(text)) {}
  QString text;
};

int integerValue(const QString& name, const QString& value, int low, int high) {
  bool ok = false;
  const int number = value.toInt(&ok);
  if (ok && number >= low && number <= high) return number;
  if (low == INT_MIN && high == INT_MAX)
    throw ReportOptionError(u"%1 needs a whole number, not \"%2\""_s.arg(name, value));
  throw ReportOptionError(
      u"%1 needs a whole number from %2 to %3, not \"%4\""_s.arg(name).arg(low).arg(high).arg(value));
}

int modeValue(const QString& value) {
  if (const std::optional<PracticeMode> mode = ViewerSession::modeOfLetter(value)) return *mode;
  if (value == u"K"_s) return ModeKana;  // the report's own spelling of ｱ
  throw ReportOptionError(u"--mode takes A, ｱ (or K), R or !, not \"%1\""_s.arg(value));
}

template <typename Enum>
Enum namedValue(const QString& name, const QString& value, const std::map<QString, Enum>& names) {
  const auto found = names.find(value);
  if (found != names.end()) return found->second;
  QStringList known;
  for (const auto& entry : names) known << entry.first;
  throw ReportOptionError(u"%1 takes one of %2, not \"%3\""_s.arg(name, known.join(u", "_s), value));
}

QString markValue(const QString& name, const QString& value) {
  if (value.isEmpty() || firstCharacter(value) != value)
    throw ReportOptionError(u"%1 takes a single character, not \"%2\""_s.arg(name, value));
  return value;
}

QDateTime nowValue(const QString& value) {
  const QDateTime when = QDateTime::fromString(value, u"yyyy-MM-dd HH:mm:ss"_s);
  if (!when.isValid()) throw ReportOptionError(u"--now takes \"YYYY-MM-DD HH:MM:SS\", not \"%1\""_s.arg(value));
  return when;
}

// The days the viewer's era takes, written with four digits of year.
QDate dayValue(const QString& name, const QString& value) {
  const QString pattern = u"yyyy-MM-dd"_s;
  const QDate day = value.size() == pattern.size() ? SettingsDays::parse(value, pattern) : QDate();
  if (!day.isValid())
    throw ReportOptionError(u"%1 takes a day \"YYYY-MM-DD\" from %2 to %3, not \"%4\""_s.arg(
        name, SettingsDays::first().toString(pattern), SettingsDays::last().toString(pattern), value));
  return day;
}

using Flag = std::function<void(ReportOptions&)>;
using Valued = std::function<void(ReportOptions&, const QString& name, const QString& value)>;

const std::map<QString, Flag>& flags() {
  static const std::map<QString, Flag> table = {
      {u"--copy"_s, [](ReportOptions& o) { o.output.copyAll = true; }},
      {u"--runs"_s, [](ReportOptions& o) { o.output.everyRun = true; }},
      {u"--nomiss"_s, [](ReportOptions& o) { o.view.noMiss = true; }},
      {u"--levelup"_s, [](ReportOptions& o) { o.view.levelUpOnly = true; }},
      {u"--miss-down"_s, [](ReportOptions& o) { o.view.moreMissesBelow = true; }},
      {u"--rebuild"_s, [](ReportOptions& o) { o.rebuild = true; }},
      {u"--all-modes"_s, [](ReportOptions& o) { o.output.allModes = true; }},
      {u"--all-days"_s, [](ReportOptions& o) { o.view.allDays = true; }},
      {u"--help"_s, [](ReportOptions& o) { o.help = true; }},
      {u"-h"_s, [](ReportOptions& o) { o.help = true; }},
      {u"--version"_s, [](ReportOptions& o) { o.version = true; }},
  };
  return table;
}

const std::map<QString, Valued>& valuedOptions() {
  static const std::map<QString, Valued> table = {
      {u"--settings"_s, [](ReportOptions& o, const QString&, const QString& v) { o.settingsPath = v; }},
      {u"--mode"_s, [](ReportOptions& o, const QString&, const QString& v) { o.view.mode = modeValue(v); }},
      {u"--view"_s,
       [](ReportOptions& o, const QString& n, const QString& v) {
         // The calendar and the progress series are no tabs of the window: they have flags of their own.
         std::map<QString, std::optional<View>> names = {{CalendarViewName.toString(), std::nullopt},
                                                         {ProgressExport::name(), std::nullopt}};
         for (const ViewInfo& info : Views) names[info.name.toString()] = info.view;
         const std::optional<View> view = namedValue<std::optional<View>>(n, v, names);
         if (view)
           o.output.views << *view;
         else if (v == ProgressExport::name())
           o.output.progress = true;
         else
           o.output.calendar = true;
       }},
      {u"--period"_s,
       [](ReportOptions& o, const QString& n, const QString& v) {
         o.view.period = namedValue<AveragePeriod>(n, v,
                                                   {{u"day"_s, AveragePeriod::Day},
                                                    {u"week"_s, AveragePeriod::Week},
                                                    {u"month"_s, AveragePeriod::Month},
                                                    {u"year"_s, AveragePeriod::Year},
                                                    {u"count"_s, AveragePeriod::Count}});
       }},
      {u"--interval"_s, [](ReportOptions& o, const QString& n,
                           const QString& v) { o.view.countInterval = integerValue(n, v, INT_MIN, INT_MAX); }},
      {u"--max-miss"_s,
       [](ReportOptions& o, const QString& n, const QString& v) { o.view.maxMiss = integerValue(n, v, 0, 255); }},
      {u"--min-keys"_s, [](ReportOptions& o, const QString& n,
                           const QString& v) { o.view.minHitMiss = integerValue(n, v, INT_MIN, INT_MAX); }},
      {u"--min-hits"_s,
       [](ReportOptions& o, const QString& n, const QString& v) { o.view.minHits = integerValue(n, v, 0, INT_MAX); }},
      {u"--rank-count"_s,
       [](ReportOptions& o, const QString& n, const QString& v) {
         bool ok = false;
         const int number = v.toInt(&ok);
         if (!ok)
           throw ReportOptionError(u"%1 needs a whole number (held to %2..%3), not \"%4\""_s.arg(n)
                                       .arg(RankCountMin)
                                       .arg(RankCountMax)
                                       .arg(v));
         o.view.rankCount = std::clamp(number, RankCountMin, RankCountMax);
       }},
      {u"--recent"_s,
       [](ReportOptions& o, const QString& n, const QString& v) { o.view.recentLimit = integerValue(n, v, 0, 255); }},
      {u"--hit-mark"_s, [](ReportOptions& o, const QString& n, const QString& v) { o.view.hitMark = markValue(n, v); }},
      {u"--miss-mark"_s,
       [](ReportOptions& o, const QString& n, const QString& v) { o.view.missMark = markValue(n, v); }},
      {u"--now"_s, [](ReportOptions& o, const QString&, const QString& v) { o.view.now = nowValue(v); }},
      {u"--window"_s,
       [](ReportOptions& o, const QString& n, const QString& v) { o.output.window = integerValue(n, v, 1, INT_MAX); }},
      {u"--since"_s, [](ReportOptions& o, const QString& n, const QString& v) { o.view.since = dayValue(n, v); }},
      {u"--until"_s, [](ReportOptions& o, const QString& n, const QString& v) { o.view.until = dayValue(n, v); }},
      {u"--encoding"_s,
       [](ReportOptions& o, const QString& n, const QString& v) {
         o.output.encoding =
             namedValue<TextEncoding>(n, v, {{u"utf-8"_s, TextEncoding::Utf8}, {u"sjis"_s, TextEncoding::ShiftJis}});
       }},
      {u"--format"_s,
       [](ReportOptions& o, const QString& n, const QString& v) {
         o.output.format = namedValue<OutputFormat>(
             n, v, {{u"text"_s, OutputFormat::Text}, {u"csv"_s, OutputFormat::Csv}, {u"json"_s, OutputFormat::Json}});
       }},
  };
  return table;
}

// A CSV file holds one table: the runs or the data of one view.
void checkFormat(const OutputRequest& output) {
  if (output.format == OutputFormat::Text) return;
  if (output.copyAll) throw ReportOptionError(u"--copy goes only with --format text"_s);
  if (output.format == OutputFormat::Json) {
    if (output.encoding == TextEncoding::ShiftJis)
      throw ReportOptionError(u"--format json is always UTF-8; --encoding sjis goes only with text or csv"_s);
    return;
  }
  const qsizetype tables = output.views.size() + (output.calendar ? 1 : 0) + (output.progress ? 1 : 0);
  if (output.everyRun && tables > 0)
    throw ReportOptionError(u"--format csv writes one table: --runs or one --view, not both"_s);
  if (!output.everyRun && tables != 1)
    throw ReportOptionError(u"--format csv writes one table: give --runs or exactly one --view"_s);
}

void parseInto(ReportOptions& options, const QStringList& arguments) {
  bool optionsEnded = false;
  bool windowGiven = false;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (optionsEnded || !argument.startsWith(u'-') || argument == u"-"_s) {
      if (!options.recordFile.isEmpty())
        throw ReportOptionError(u"only one record file can be given (\"%1\" is a second)"_s.arg(argument));
      options.recordFile = argument;
      continue;
    }
    if (argument == u"--"_s) {
      optionsEnded = true;
      continue;
    }
    const qsizetype equals = argument.indexOf(u'=');
    const QString name = equals < 0 ? argument : argument.left(equals);
    if (const auto flag = flags().find(name); flag != flags().end()) {
      if (equals >= 0) throw ReportOptionError(u"%1 takes no value"_s.arg(name));
      flag->second(options);
    } else if (const auto valued = valuedOptions().find(name); valued != valuedOptions().end()) {
      QString value;
      if (equals >= 0) {
        value = argument.mid(equals + 1);
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        throw ReportOptionError(u"%1 needs a value"_s.arg(name));
      }
      valued->second(options, name, value);
      windowGiven = windowGiven || name == u"--window"_s;
    } else {
      throw ReportOptionError(u"unknown option %1"_s.arg(name));
    }
  }
  if (options.help || options.version) return;
  if (options.recordFile.isEmpty()) throw ReportOptionError(u"no record file given"_s);
  OutputRequest& output = options.output;
  if (output.allModes && !output.calendar && !output.progress)
    throw ReportOptionError(u"--all-modes goes only with --view calendar or --view progress"_s);
  if (windowGiven && !output.progress) throw ReportOptionError(u"--window goes only with --view progress"_s);
  const ViewOverrides& view = options.view;
  if (view.since && view.until && *view.until < *view.since)
    throw ReportOptionError(u"--until %1 is before --since %2: the era would hold no day"_s.arg(
        view.until->toString(Qt::ISODate), view.since->toString(Qt::ISODate)));
  checkFormat(output);
  if (output.views.isEmpty() && !output.calendar && !output.progress)
    for (const ViewInfo& info : Views) output.views << info.view;
}

}  // namespace

ParsedReportOptions parseReportOptions(const QStringList& arguments) {
  ParsedReportOptions parsed;
  try {
    parseInto(parsed.options, arguments);
  } catch (const ReportOptionError& error) {
    parsed.error = error.text;
  }
  return parsed;
}

QString reportUsage() {
  return uR"(usage: hoko32-report [OPTIONS] RECORD_FILE

Loads a TAPPER record file exactly as the hoko32 viewer does (keeping the
compressed data file ".hok" beside it and the stored size in the settings
file) and prints what the viewer's panes show.

  --settings PATH     settings file to read options from and keep FileSize in
                      (default: the viewer's own settings file)
  --mode M            current mode: A, ｱ (or K), R, !
  --view NAME         history, graph, average, miss, best, calendar,
                      progress; repeatable (default: the first five, in tab
                      order). calendar: the mode's practice days with their
                      runs, averages and personal bests, and the streaks of
                      days up to the day of --now. progress: every run of
                      the mode with the trailing means of its hits and miss
                      rate and the best so far, then the figures of them all
  --all-modes         the calendar and the progress series count the runs of
                      every mode
  --window N          the runs the progress series' means take (default: 10)
  --copy              print what "copy all" puts on the clipboard
  --runs              print every kept run first:
                      <mode 0-3> <yyyy-mm-dd> <hh:nn:ss> <hits> <misses>
  --nomiss            keep only runs without misses
  --levelup           history lines only for level rises
  --period P          day, week, month, year, count (default: day)
  --interval N        block size of the count period
  --max-miss N        averages leave out runs with more misses (0-255)
  --min-keys N        averages leave out runs with fewer keystrokes
  --min-hits N        minimum hits of the worst-ten miss rates (default: 0)
  --rank-count N      ranks shown, held to 1..1000
  --miss-down         ranking: more misses below among equal hits
  --recent N          newest lines shown, 0 = all (0-255)
  --hit-mark C        hit character of the bars
  --miss-mark C       miss character of the bars
  --now "YYYY-MM-DD HH:MM:SS"
                      the clock for the celebration check, the ranking
                      header and the calendar's today
  --since YYYY-MM-DD  count only the runs of this day and later (every view,
                      --runs, the calendar and the exports), as though the
                      record file held no earlier lines
  --until YYYY-MM-DD  count only the runs of this day and earlier; both days
                      lie between 1752-09-14 and 9999-12-31, the last not
                      before the first
  --all-days          count every run, whatever era the settings file keeps
                      (--since and --until still apply)
  --rebuild           rebuild the compressed data file (a full load)
  --format F          text (default: what the panes show), csv or json.
                      csv is one table: --runs, or one --view's data; in
                      utf-8 it starts with a byte-order mark. json holds the
                      runs (with --runs) and the views' data (default: the
                      five tabs' views). doc/export.md lists the columns and
                      members
  --encoding E        output encoding: utf-8 or sjis (default: utf-8);
                      sjis goes with text and csv only
  -h, --help          this text
  --version           the version

Messages of the load go to standard error. Exit status: 0 success; 1 the
record file is missing, no file or unreadable, or an appended line did not
parse; 2 usage error; 3 the output could not be written (or memory ran out),
or standard output is the record file, its data file or the settings file.
)"_s;
}
