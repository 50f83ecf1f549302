// Which writer writes each part of an output: every format and content
// against the writer that owns it, the text's order and headings, the active
// view taken from the last pass, and the command line's overrides of the view
// settings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QBuffer>

#include <functional>
#include <tuple>
#include <utility>

#include "analysis/CalendarTexts.h"
#include "analysis/PracticeCalendar.h"
#include "settings/OptionTable.h"
#include "settings/SettingsFile.h"
#include "support/QtPrinters.h"
#include "support/RecordingFeedback.h"
#include "support/TypistFile.h"
#include "viewer/ExportOutput.h"
#include "viewer/OutputWriter.h"
#include "viewer/ProgressExport.h"
#include "viewer/ViewOverrides.h"
#include "viewer/ViewerCore.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

namespace {

using Write = std::function<ViewExport::Result(QIODevice&)>;

QByteArray bytesOf(const Write& write) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(write(buffer).written());
  return buffer.data();
}

class OutputWriterTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(viewer.load(writeTypistFile(dir, 2000)), LoadOutcome::Loaded);
    ViewSettings s;
    s.now = QDateTime(QDate(2024, 6, 30), QTime(21, 0));
    viewer.setSettings(s);
  }

  QByteArray output(const OutputRequest& request) {
    return bytesOf([&](QIODevice& out) { return writeOutput(out, viewer, request, u"typist.ｷﾛｸ"_s); });
  }
  PracticeCalendar calendar(bool allModes, const QDate& today) const {
    return PracticeCalendar::build(viewer.runsInView().runs,
                                   allModes ? std::nullopt : std::optional(viewer.settings().practiceMode()), today);
  }
  ProgressExport::Series series(bool allModes, int window) const {
    return {viewer.runsInView().runs, allModes ? std::nullopt : std::optional(viewer.settings().practiceMode()),
            viewer.settings().noMiss, window};
  }
  QString pane(View view) {
    viewer.recalculate(view);
    return viewer.paneLines(view).join(u'\n') + u'\n';
  }

  TempDir dir;
  SettingsFile settings{dir.file(u"hoko32.ini"_s)};
  RecordingFeedback feedback;
  ViewerCore viewer{settings, feedback};
};

TEST_F(OutputWriterTest, EachFormatAndContentGoesToItsWriter) {
  const auto runs = viewer.runsInView().runs;
  const QDate today(2024, 6, 30);
  const struct {
    const char* what;
    OutputRequest request;
    Write direct;
  } cases[] = {
      {"csv runs",
       {.format = OutputFormat::Csv, .everyRun = true},
       [&](QIODevice& out) { return ViewExport::writeRunsCsv(out, runs, TextEncoding::Utf8); }},
      {"csv runs sjis",
       {.format = OutputFormat::Csv, .encoding = TextEncoding::ShiftJis, .everyRun = true},
       [&](QIODevice& out) { return ViewExport::writeRunsCsv(out, runs, TextEncoding::ShiftJis); }},
      {"csv view",
       {.format = OutputFormat::Csv, .views = {ViewBest}},
       [&](QIODevice& out) {
         viewer.recalculate(ViewBest);
         return ViewExport::writeViewCsv(out, viewer, ViewBest, TextEncoding::Utf8);
       }},
      {"csv calendar of the clock's day",
       {.format = OutputFormat::Csv, .calendar = true},
       [&](QIODevice& out) { return ViewExport::writeCalendarCsv(out, calendar(false, today), TextEncoding::Utf8); }},
      {"csv calendar of every mode, another day",
       {.format = OutputFormat::Csv, .calendar = true, .allModes = true, .today = QDate(2024, 1, 2)},
       [&](QIODevice& out) {
         return ViewExport::writeCalendarCsv(out, calendar(true, QDate(2024, 1, 2)), TextEncoding::Utf8);
       }},
      {"csv progress",
       {.format = OutputFormat::Csv, .progress = true, .allModes = true, .window = 3},
       [&](QIODevice& out) { return ProgressExport::writeCsv(out, series(true, 3), TextEncoding::Utf8); }},
      {"json runs",
       {.format = OutputFormat::Json, .everyRun = true},
       [&](QIODevice& out) { return ViewExport::writeJson(out, viewer, {}, true, u"typist.ｷﾛｸ"_s); }},
      {"json views, calendar and progress",
       {.format = OutputFormat::Json, .views = {ViewMiss, ViewAverage}, .calendar = true, .progress = true},
       [&](QIODevice& out) {
         viewer.recalculate(ViewMiss);
         viewer.recalculate(ViewAverage);
         const PracticeCalendar days = calendar(false, today);
         const ProgressExport::Series s = series(false, 10);
         return ViewExport::writeJson(out, viewer, {ViewMiss, ViewAverage}, false, u"typist.ｷﾛｸ"_s, &days, {},
                                      {u"progress"_s, [&](JsonWriter& json) { ProgressExport::writeJson(json, s); }});
       }},
      {"text progress",
       {.progress = true, .window = 4},
       [&](QIODevice& out) {
         ExportOutput written(out);
         ProgressExport::writeText(written, series(false, 4), TextEncoding::Utf8);
         written.flush();
         return ViewExport::Result{};
       }},
  };
  for (const auto& c : cases) {
    const QByteArray expected = bytesOf(c.direct);
    ASSERT_FALSE(expected.isEmpty()) << c.what;
    EXPECT_EQ(output(c.request), expected) << c.what;
  }
}

TEST_F(OutputWriterTest, TextGivesTheRunsThenEachPartHeadedWhenThereAreSeveral) {
  EXPECT_EQ(output({.views = {ViewGraph}}), pane(ViewGraph).toUtf8()) << "one part, no heading";

  const QByteArray all = output({.everyRun = true, .views = {ViewBest, ViewHistory}, .calendar = true});
  QByteArray runs;
  {
    QBuffer buffer(&runs);
    buffer.open(QIODevice::WriteOnly);
    ExportOutput out(buffer);
    writeRunsText(out, viewer.runsInView().runs);
    out.flush();
  }
  const QString expected = u"==== best\n"_s + pane(ViewBest) + u"==== history\n"_s + pane(ViewHistory) +
                           u"==== calendar\n"_s +
                           CalendarTexts::calendarLines(calendar(false, QDate(2024, 6, 30))).join(u'\n') + u'\n';
  EXPECT_EQ(all, runs + expected.toUtf8());
  EXPECT_TRUE(runs.startsWith(QByteArray::number(viewer.runsInView().runs.front()->Mode) + ' '));

  const QByteArray withProgress = output({.calendar = true, .progress = true});
  EXPECT_TRUE(withProgress.startsWith("==== calendar\n"));
  EXPECT_TRUE(withProgress.contains("\n==== progress\n<<ローマ字の進歩グラフ (平均の回数 10回) >>\n"));
}

TEST_F(OutputWriterTest, CopyAllOfTheMissViewUnderNoMissIsEmpty) {
  ViewSettings s = viewer.settings();
  s.noMiss = true;
  viewer.setSettings(s);
  EXPECT_EQ(output({.views = {ViewMiss}, .copyAll = true}), QByteArray());
  EXPECT_EQ(output({.views = {ViewMiss, ViewHistory}, .copyAll = true}),
            (u"==== miss\n==== history\n"_s + pane(ViewHistory)).toUtf8());
}

TEST_F(OutputWriterTest, TheActiveViewComesFromTheLastPassAndAViewByNameIsComputed) {
  viewer.recalculate(ViewHistory);
  const QByteArray romaji = output({.format = OutputFormat::Csv, .activeView = ViewHistory});
  ViewSettings s = viewer.settings();
  s.mode = ModeAlphabet;
  viewer.setSettings(s);  // the window has not run the pass yet
  EXPECT_EQ(output({.format = OutputFormat::Csv, .activeView = ViewHistory}), romaji);
  const QByteArray alphabet = output({.format = OutputFormat::Csv, .views = {ViewHistory}});
  EXPECT_NE(alphabet, romaji);
  EXPECT_EQ(output({.format = OutputFormat::Csv, .activeView = ViewHistory}), alphabet) << "now from the new pass";
}

TEST_F(OutputWriterTest, ACsvFileOfNothingIsEmpty) { EXPECT_EQ(output({.format = OutputFormat::Csv}), QByteArray()); }

TEST(ViewOverrides, TakeWhatIsGivenAndKeepTheStoredRest) {
  MainOptions stored;
  stored.defaultType = 9;  // no mode: romaji
  stored.recent = 7;
  stored.rankCount = 30;
  stored.missEval = true;
  stored.eraFrom = QDate(2022, 1, 1);
  stored.eraTo = QDate(2022, 12, 31);
  const QDateTime clock(QDate(2024, 3, 4), QTime(5, 6, 7));

  const ViewSettings kept = ViewOverrides{}.over(stored, clock);
  EXPECT_EQ(kept.mode, ModeRomaji);
  EXPECT_EQ(std::tuple(kept.recentLimit, kept.rankCount, kept.moreMissesAbove), std::tuple(7, 30, true));
  EXPECT_EQ(std::pair(kept.eraFrom, kept.eraTo), std::pair(stored.eraFrom, stored.eraTo));
  EXPECT_EQ(kept.now, clock);
  EXPECT_EQ(kept.startDate, ViewerSession::startDate(clock.date(), -1));

  const ViewOverrides given{.mode = ModeKana,
                            .noMiss = true,
                            .period = AveragePeriod::Year,
                            .rankCount = 3,
                            .moreMissesBelow = true,
                            .recentLimit = 0,
                            .now = QDateTime(QDate(2023, 1, 2), QTime(3, 4, 5)),
                            .allDays = true,
                            .until = QDate(2023, 5, 1)};
  const ViewSettings taken = given.over(stored, clock);
  EXPECT_EQ(std::tuple(taken.mode, taken.noMiss, taken.period), std::tuple(int{ModeKana}, true, AveragePeriod::Year));
  EXPECT_EQ(std::tuple(taken.recentLimit, taken.rankCount, taken.moreMissesAbove), std::tuple(0, 3, false));
  EXPECT_EQ(taken.startDate, ViewerSession::startDate(QDate(2023, 1, 2), -1));
  EXPECT_EQ(std::pair(taken.eraFrom, taken.eraTo), std::pair(QDate(), QDate(2023, 5, 1))) << "--all-days, then --until";
  EXPECT_EQ(given.eraError(taken), QString());
}

TEST(ViewOverrides, AnEraTurnedRoundByOneSideNamesThatSide) {
  ViewSettings s;
  s.eraFrom = QDate(2023, 6, 1);
  s.eraTo = QDate(2023, 5, 31);
  EXPECT_EQ(ViewOverrides{.since = s.eraFrom}.eraError(s),
            u"--since 2023-06-01 is after the last day of the era the settings file keeps (2023-05-31); give --until "
            u"or --all-days"_s);
  EXPECT_EQ(ViewOverrides{.until = s.eraTo}.eraError(s),
            u"--until 2023-05-31 is before the first day of the era the settings file keeps (2023-06-01); give "
            u"--since or --all-days"_s);
  s.eraTo = s.eraFrom;
  EXPECT_EQ(ViewOverrides{.since = s.eraFrom}.eraError(s), QString()) << "one day";
}

// The window's export through the session: each choice of its dialog writes
// what the writer of that content writes.
class SessionOutputTest : public testing::Test {
 protected:
  void SetUp() override {
    session.setRecordFile(dir.path() + u'/', u"typist.ｷﾛｸ"_s);
    ASSERT_TRUE(session.loadRecordFile(writeTypistFile(dir, 1500), false));
    session.selectMode(ModeKana);
  }

  TempDir dir;
  SettingsFile settings{dir.file(u"hoko32.ini"_s)};
  RecordingFeedback feedback;
  ViewerSession session{settings, feedback};
};

TEST_F(SessionOutputTest, TheWindowsExportWritesWhatTheWriterOfItsContentWrites) {
  using enum ViewerSession::ExportContent;
  ViewerCore& core = session.core();
  core.recalculate(ViewAverage);  // the window's pass of its active view
  const auto runs = core.runsInView().runs;
  const QDate today(2024, 5, 1);
  const auto days = [&](bool allModes) {
    return PracticeCalendar::build(runs, allModes ? std::nullopt : std::optional(ModeKana), today);
  };
  const QString name = u"typist.ｷﾛｸ"_s;
  const struct {
    ViewerSession::ExportRequest request;
    Write direct;
  } cases[] = {
      {{ActiveView, ViewAverage, false, true, false, {}},
       [&](QIODevice& out) { return ViewExport::writeViewCsv(out, core, ViewAverage, TextEncoding::ShiftJis); }},
      {{ActiveView, ViewAverage, true, false, false, {}},
       [&](QIODevice& out) { return ViewExport::writeJson(out, core, {ViewAverage}, false, name); }},
      {{EveryRun, ViewAverage, false, false, false, {}},
       [&](QIODevice& out) { return ViewExport::writeRunsCsv(out, runs, TextEncoding::Utf8); }},
      {{EveryRun, ViewAverage, true, false, false, {}},
       [&](QIODevice& out) { return ViewExport::writeJson(out, core, {}, true, name); }},
      {{Calendar, ViewAverage, false, false, true, today},
       [&](QIODevice& out) { return ViewExport::writeCalendarCsv(out, days(true), TextEncoding::Utf8); }},
      {{Calendar, ViewAverage, true, false, false, today},
       [&](QIODevice& out) {
         const PracticeCalendar calendar = days(false);
         return ViewExport::writeJson(out, core, {}, false, name, &calendar);
       }},
  };
  for (const auto& c : cases) {
    const QByteArray expected = bytesOf(c.direct);
    EXPECT_EQ(bytesOf([&](QIODevice& out) { return session.writeExport(out, c.request); }), expected)
        << static_cast<int>(c.request.content) << " json " << c.request.json;
  }
}

TEST_F(SessionOutputTest, AReportTakesItsOverridesAndNamesItsRecordFile) {
  const QString record = dir.file(u"other/練習.ｷﾛｸ"_s);
  const QDateTime clock(QDate(2024, 7, 1), QTime(8, 0));
  EXPECT_EQ(session.startReport(record, {1024, 768, dir.path()}, {.rankCount = 2}, clock), QString());
  EXPECT_EQ(session.recordName(), u"練習.ｷﾛｸ"_s);
  EXPECT_EQ(session.core().settings().rankCount, 2);
  EXPECT_EQ(session.core().settings().now, clock);
  const QByteArray json = bytesOf(
      [&](QIODevice& out) { return session.writeOutput(out, {.format = OutputFormat::Json, .views = {ViewBest}}); });
  EXPECT_TRUE(json.startsWith("{\n    \"best\": ")) << json.left(40).toStdString();
  EXPECT_TRUE(json.contains("\"file\": \"練習.ｷﾛｸ\"")) << "named after the report's record file";

  // An era turned round is told, and the overrides are not taken.
  settings.writeText(SettingsKeys::Option, u"EraTo"_s, u"2023/01/01"_s);
  EXPECT_THAT(session.startReport(record, {1024, 768, dir.path()}, {.since = QDate(2023, 2, 1)}, clock).toStdString(),
              testing::StartsWith("--since 2023-02-01 is after the last day"));
  EXPECT_EQ(session.core().settings().eraFrom, QDate());
  EXPECT_EQ(session.core().settings().eraTo, QDate(2023, 1, 1));
}

}  // namespace
