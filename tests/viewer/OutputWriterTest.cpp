// Which writer writes each part of an output: every format and content
// against the writer that owns it, the text's order and headings, the active
// view taken from the last pass; the window's export and a report's start
// through the session.
#include <gtest/gtest.h>

#include <QBuffer>

#include <functional>

#include "analysis/CalendarTexts.h"
#include "analysis/PracticeCalendar.h"
#include "settings/SettingsFile.h"
#include "support/QtPrinters.h"
#include "support/RecordingFeedback.h"
#include "support/TypistFile.h"
#include "viewer/ExportOutput.h"
#include "viewer/OutputWriter.h"
#include "viewer/ProgressExport.h"
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
}

}  // namespace
