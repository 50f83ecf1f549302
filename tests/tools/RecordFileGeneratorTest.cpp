#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include <numeric>
#include <optional>

#include "records/Taprec.h"
#include "support/TempDir.h"
#include "tools/RecordFileGenerator.h"

using namespace Qt::StringLiterals;

namespace {

std::vector<PracticeRecord> parseAll(const std::string& bytes) {
  std::vector<PracticeRecord> records;
  PracticeRecord scratch;
  for (std::size_t at = 0; at < bytes.size(); at += 46) {
    ParseRecordLine(std::string_view(bytes).substr(at, 46), scratch);
    records.push_back(scratch);
  }
  return records;
}

TEST(RecordFileGenerator, SameSeedSameFileAndEveryLineParses) {
  GeneratorOptions options;
  options.seed = 11;
  options.runs = 5000;
  const std::string bytes = recordFileBytes(generateRuns(options));
  EXPECT_EQ(bytes, recordFileBytes(generateRuns(options)));
  ASSERT_EQ(bytes.size(), 5000u * 46);
  options.seed = 12;
  EXPECT_NE(bytes, recordFileBytes(generateRuns(options)));

  const auto records = parseAll(bytes);
  for (const PracticeRecord& r : records) ASSERT_NE(r.Mode, ModeFailed);
  for (std::size_t i = 1; i < records.size(); ++i)
    ASSERT_LE(records[i - 1].Date + records[i - 1].Time(), records[i].Date + records[i].Time()) << "in time order";
}

TEST(RecordFileGenerator, HitsRiseAndMissesFallWithPracticeInEveryMode) {
  GeneratorOptions options;
  options.runs = 8000;
  const auto records = parseAll(recordFileBytes(generateRuns(options)));
  for (PracticeMode mode = 0; mode < PracticeModeCount; ++mode) {
    std::vector<const PracticeRecord*> runs;
    for (const PracticeRecord& r : records)
      if (r.Mode == mode) runs.push_back(&r);
    ASSERT_GT(runs.size(), 400u) << int(mode);
    const auto average = [](auto first, auto last, auto field) {
      return std::accumulate(first, last, 0.0, [&](double sum, const PracticeRecord* r) { return sum + field(r); }) /
             static_cast<double>(last - first);
    };
    const auto hits = [](const PracticeRecord* r) { return r->Hits; };
    const auto misses = [](const PracticeRecord* r) { return r->Misses; };
    EXPECT_GT(average(runs.end() - 100, runs.end(), hits), 1.5 * average(runs.begin(), runs.begin() + 100, hits));
    EXPECT_LT(average(runs.end() - 100, runs.end(), misses), average(runs.begin(), runs.begin() + 100, misses));
  }
}

TEST(RecordFileGenerator, FinalRecordBeatsTheModesBestOnTheNewestDay) {
  GeneratorOptions options;
  options.runs = 500;
  options.finalRecord = true;
  options.newestDay = DayCount::CivilDate{2026, 12, 7};
  const auto runs = generateRuns(options);
  ASSERT_EQ(runs.size(), 501u);
  const GeneratedRun& last = runs.back();
  for (std::size_t i = 0; i + 1 < runs.size(); ++i) {
    if (runs[i].mode == last.mode) {
      ASSERT_LT(runs[i].hits, last.hits);
    }
  }
  EXPECT_EQ(last.date.day, 7);
}

TEST(RecordFileGenerator, NewestRunFallsOnTheDayAsked) {
  GeneratorOptions options;
  options.runs = 300;
  options.newestDay = DayCount::CivilDate{2026, 12, 7};
  const auto runs = generateRuns(options);
  EXPECT_EQ(runs.back().date.year, 2026);
  EXPECT_EQ(runs.back().date.month, 12);
  EXPECT_EQ(runs.back().date.day, 7);
  const auto first = DayCount::encodeDate(runs.front().date.year, runs.front().date.month, runs.front().date.day);
  EXPECT_LT(*first, *DayCount::encodeDate(2026, 12, 7) - 30) << "weeks of practice before";
}

TEST(RecordFileGenerator, StartAndNewestBothHold) {
  GeneratorOptions options;
  options.runs = 2000;
  options.start = {2021, 4, 1};
  options.newestDay = DayCount::CivilDate{2026, 12, 7};
  options.keepStart = true;
  const auto runs = generateRuns(options);
  const auto dayOf = [](const GeneratedRun& r) { return *DayCount::encodeDate(r.date.year, r.date.month, r.date.day); };
  EXPECT_EQ(dayOf(runs.front()), *DayCount::encodeDate(2021, 4, 1));
  EXPECT_EQ(dayOf(runs.back()), *DayCount::encodeDate(2026, 12, 7));
  for (std::size_t i = 1; i < runs.size(); ++i) ASSERT_LE(dayOf(runs[i - 1]), dayOf(runs[i])) << "run " << i;
}

// However many runs and whichever days are asked for: every run at or after
// the one before it, every year one the data file holds, and the first and
// newest days where they were asked to be (as far as the years allow).
TEST(RecordFileGenerator, RunsAreInTimeOrderInsideTheDataFilesYears) {
  using Date = DayCount::CivilDate;
  const Date Earliest{1900, 1, 1}, Latest{2155, 12, 31};
  struct Case {
    const char* name;
    int runs;
    std::optional<Date> start;  // kept with --newest (keepStart)
    std::optional<Date> newest;
    bool clamped;  // the end not asked for falls at the years' limit
  };
  const Case cases[] = {
      {"--start and --newest, days squeezed", 12000, Date{2021, 4, 1}, Date{2023, 6, 30}, false},
      {"--start and --newest, a year squeezed into a day", 3000, Date{2026, 12, 7}, Date{2026, 12, 7}, false},
      {"--start and --newest, days spread", 300, Date{2001, 1, 1}, Date{2026, 12, 7}, false},
      {"--newest alone, a million runs would begin before 1900", 1000000, {}, Date{2026, 12, 7}, true},
      {"--newest alone, moved whole", 3000, {}, Date{2026, 12, 7}, false},
      {"a million runs from the start day would end after 2155", 1000000, Date{2021, 4, 1}, {}, true},
      {"the bundled sample's typist", 4000, Date{2021, 4, 1}, {}, false},
  };
  const auto dayOf = [](const Date& d) { return *DayCount::encodeDate(d.year, d.month, d.day); };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GeneratorOptions options;
    options.seed = 5;
    options.runs = c.runs;
    if (c.start) options.start = *c.start;
    options.newestDay = c.newest;
    options.keepStart = c.start && c.newest;
    const auto runs = generateRuns(options);
    ASSERT_EQ(runs.size(), std::size_t(c.runs));
    const auto when = [&](const GeneratedRun& r) {
      return std::pair{dayOf(r.date), r.time.hour * 3600 + r.time.min * 60 + r.time.sec};
    };
    int backwards = 0;
    for (std::size_t i = 1; i < runs.size(); ++i) backwards += when(runs[i]) < when(runs[i - 1]);
    EXPECT_EQ(backwards, 0) << "runs earlier than the one before";
    for (const GeneratedRun* r : {&runs.front(), &runs.back()}) {
      EXPECT_GE(r->date.year, 1900);
      EXPECT_LE(r->date.year, 2155);
    }
    if (c.start || c.clamped) {
      EXPECT_EQ(dayOf(runs.front().date), dayOf(c.start.value_or(Earliest)));
    }
    if (c.newest || c.clamped) {
      EXPECT_EQ(dayOf(runs.back().date), dayOf(c.newest.value_or(Latest)));
    }
  }
}

// The command line: help, usage errors, and both dates honoured.
TEST(SampleTool, CommandLine) {
  TempDir dir;
  const auto run = [](const QStringList& arguments) {
    QProcess tool;
    tool.start(QString::fromUtf8(HOKO32_SAMPLE_EXE), arguments);
    EXPECT_TRUE(tool.waitForFinished(60000));
    return std::pair{tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput())};
  };
  const auto [helpStatus, help] = run({u"--help"_s});
  EXPECT_EQ(helpStatus, 0);
  for (const char* option : {"--seed", "--runs", "--start", "--newest", "--final-record"})
    EXPECT_TRUE(help.contains(QLatin1StringView(option))) << option;
  const QString out = dir.file(u"s.ｷﾛｸ"_s);
  for (const QStringList& bad :
       {QStringList{u"--runs"_s, u"many"_s, out}, QStringList{u"--seed"_s, u"-3"_s, out},
        QStringList{u"--start"_s, u"2021-02-30"_s, out}, QStringList{u"--start"_s, u"1899-12-31"_s, out},
        QStringList{u"--newest"_s, u"2156-01-01"_s, out},
        QStringList{u"--start"_s, u"2022-01-01"_s, u"--newest"_s, u"2021-01-01"_s, out}}) {
    EXPECT_EQ(run(bad).first, 2) << bad.join(u' ').toStdString();
    EXPECT_FALSE(QFile::exists(out));
  }
  ASSERT_EQ(run({u"--runs"_s, u"50"_s, u"--start"_s, u"2020-01-02"_s, u"--newest"_s, u"2026-12-07"_s, out}).first, 0);
  const QByteArray bytes = dir.read(u"s.ｷﾛｸ"_s);
  ASSERT_EQ(bytes.size(), 50 * 46);
  EXPECT_EQ(bytes.mid(2, 10), "2020/01/02");
  EXPECT_EQ(bytes.mid(49 * 46 + 2, 10), "2026/12/07");
}

}  // namespace
