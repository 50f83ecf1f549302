#include <gtest/gtest.h>

#include "app/ReportOptions.h"

#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

ParsedReportOptions parse(const QString& line) { return parseReportOptions(line.split(u' ', Qt::SkipEmptyParts)); }

TEST(ReportOptions, GoodCommandLines) {
  const auto all = parse(
      u"--settings s.ini --mode ｱ --view graph --view=best --copy --runs --nomiss --levelup --period count "
      u"--interval 0 --max-miss 255 --min-keys 300 --min-hits 20 --rank-count 5000 --miss-down --recent 0 "
      u"--hit-mark * --miss-mark - --rebuild --encoding sjis rec.ｷﾛｸ"_s);
  ASSERT_EQ(all.error, QString());
  const ReportOptions& o = all.options;
  EXPECT_EQ(o.recordFile, u"rec.ｷﾛｸ"_s);
  EXPECT_EQ(o.settingsPath, u"s.ini"_s);
  EXPECT_EQ(o.view.mode, 1);
  EXPECT_EQ(o.output.views, (QList<View>{ViewGraph, ViewBest}));
  EXPECT_TRUE(o.output.copyAll && o.output.everyRun && o.view.noMiss && o.view.levelUpOnly && o.view.moreMissesBelow &&
              o.rebuild);
  EXPECT_EQ(o.view.period, AveragePeriod::Count);
  EXPECT_EQ(o.view.countInterval, 0);
  EXPECT_EQ(o.view.maxMiss, 255);
  EXPECT_EQ(o.view.minHitMiss, 300);
  EXPECT_EQ(o.view.minHits, 20);
  EXPECT_EQ(o.view.rankCount, 1000) << "held to 1..1000";
  EXPECT_EQ(o.view.recentLimit, 0);
  EXPECT_EQ(o.view.hitMark, u"*"_s);
  EXPECT_EQ(o.view.missMark, u"-"_s);
  EXPECT_EQ(o.output.encoding, TextEncoding::ShiftJis);

  EXPECT_EQ(parse(u"--mode K f"_s).options.view.mode, 1);
  EXPECT_EQ(parse(u"--mode ! f"_s).options.view.mode, 3);
  EXPECT_EQ(parse(u"--rank-count 0 f"_s).options.view.rankCount, 1);
  EXPECT_TRUE(parse(u"--help"_s).options.help);
  EXPECT_TRUE(parse(u"--version"_s).options.version);
  EXPECT_EQ(parse(u"-- --runs"_s).options.recordFile, u"--runs"_s);
  EXPECT_EQ(parse(u"--format json --runs --view best --view miss f"_s).options.output.format, OutputFormat::Json);
  EXPECT_EQ(parse(u"--format csv --help"_s).error, QString()) << "help needs no table";

  const ReportOptions calendar = parse(u"--view calendar --view best --view calendar --all-modes f"_s).options;
  EXPECT_TRUE(calendar.output.calendar && calendar.output.allModes);
  EXPECT_EQ(calendar.output.views, QList<View>{ViewBest}) << "the calendar is no tab's view";
  EXPECT_EQ(parse(u"--format csv --view calendar f"_s).error, QString());
  EXPECT_FALSE(parse(u"--view best f"_s).options.output.calendar);
  const ReportOptions progress = parse(u"--view progress --window 3 --all-modes f"_s).options;
  EXPECT_TRUE(progress.output.progress && progress.output.allModes && !progress.output.calendar &&
              progress.output.views.isEmpty());
  EXPECT_EQ(progress.output.window, 3);

  const auto withNow = parseReportOptions({u"--now"_s, u"2024-02-29 23:59:58"_s, u"f"_s});
  ASSERT_EQ(withNow.error, QString());
  EXPECT_EQ(withNow.options.view.now, QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)));
}

TEST(ReportOptions, BadCommandLinesAreRejectedWithAReason) {
  const struct {
    QString line;
    QString mentions;
  } cases[] = {
      {u""_s, u"no record file"_s},
      {u"a b"_s, u"only one record file"_s},
      {u"--bogus f"_s, u"unknown option --bogus"_s},
      {u"--mode a f"_s, u"--mode"_s},
      {u"--mode f"_s, u"--mode"_s},
      {u"--view table f"_s, u"--view"_s},
      {u"--period fortnight f"_s, u"--period"_s},
      {u"--recent 256 f"_s, u"--recent"_s},
      {u"--recent -1 f"_s, u"--recent"_s},
      {u"--max-miss 300 f"_s, u"--max-miss"_s},
      {u"--min-hits -5 f"_s, u"--min-hits"_s},
      {u"--interval ten f"_s, u"--interval"_s},
      {u"--rank-count 1e3 f"_s, u"--rank-count"_s},
      {u"--hit-mark ab f"_s, u"--hit-mark"_s},
      {u"--miss-mark= f"_s, u"--miss-mark"_s},
      {u"--now 2024-13-01 f"_s, u"--now"_s},
      {u"--since 2023-02-29 f"_s, u"--since takes a day"_s},
      {u"--until 2023/05/01 f"_s, u"--until takes a day"_s},
      {u"--encoding latin1 f"_s, u"--encoding"_s},
      {u"--runs=yes f"_s, u"--runs takes no value"_s},
      {u"f --settings"_s, u"--settings needs a value"_s},
      {u"--format xml f"_s, u"--format takes one of csv, json, text"_s},
      {u"--format csv f"_s, u"exactly one --view"_s},
      {u"--format csv --view best --view miss f"_s, u"exactly one --view"_s},
      {u"--format csv --runs --view best f"_s, u"not both"_s},
      {u"--format csv --view calendar --view best f"_s, u"exactly one --view"_s},
      {u"--format csv --runs --view calendar f"_s, u"not both"_s},
      {u"--format csv --view progress --view best f"_s, u"exactly one --view"_s},
      {u"--all-modes f"_s, u"--all-modes goes only with --view calendar"_s},
      {u"--all-modes=1 --view calendar f"_s, u"--all-modes takes no value"_s},
      {u"--view Calendar f"_s, u"--view takes one of average, best, calendar, graph, history, miss"_s},
      {u"--format csv --runs --copy f"_s, u"--copy goes only with --format text"_s},
      {u"--format json --copy f"_s, u"--copy"_s},
      {u"--format json --encoding sjis f"_s, u"always UTF-8"_s},
  };
  for (const auto& c : cases) {
    const auto parsed = parse(c.line);
    EXPECT_TRUE(parsed.error.contains(c.mentions)) << c.line.toStdString() << " -> " << parsed.error.toStdString();
  }
}

// The era's days: four digits of year, the days the viewer's date fields
// show, and never a last day before the first.
TEST(ReportOptions, EraDaysAreThoseTheViewerTakes) {
  const struct {
    QString line;
    std::optional<QDate> since, until;  // none: refused
  } cases[] = {
      {u"--since 1752-09-14"_s, QDate(1752, 9, 14), {}},
      {u"--until 9999-12-31"_s, {}, QDate(9999, 12, 31)},
      {u"--since 2024-05-01 --until 2024-05-01"_s, QDate(2024, 5, 1), QDate(2024, 5, 1)},
      {u"--since 1752-09-13"_s, {}, {}},
      {u"--until +202-01-01"_s, {}, {}},
      {u"--until 2024-5-01"_s, {}, {}},
      {u"--until 12024-05-01"_s, {}, {}},
      {u"--since 2024-05-02 --until 2024-05-01"_s, {}, {}},
  };
  for (const auto& c : cases) {
    const auto parsed = parse(c.line + u" f"_s);
    const bool good = c.since || c.until;
    EXPECT_EQ(parsed.error.isEmpty(), good) << c.line.toStdString() << " -> " << parsed.error.toStdString();
    if (good) {
      EXPECT_EQ(std::pair(parsed.options.view.since, parsed.options.view.until), std::pair(c.since, c.until))
          << c.line.toStdString();
    }
  }
  EXPECT_TRUE(parse(u"--since 2024-05-02 --until 2024-05-01 f"_s).error.contains(u"--until 2024-05-01 is before"_s));
}

}  // namespace
