// What the output writer adds to the writers of each part: the text's order
// and headings, the window's active view taken from its last pass, and the
// calendar's days the window's export counts. Each format and content
// reaching its writer is checked through the report tool (tests/app/Report*)
// and the window's export (MainWindowTest).
#include <gtest/gtest.h>

#include <QBuffer>

#include "analysis/CalendarTexts.h"
#include "analysis/PracticeCalendar.h"
#include "settings/SettingsFile.h"
#include "support/RecordingFeedback.h"
#include "support/TypistFile.h"
#include "viewer/ExportOutput.h"
#include "viewer/OutputWriter.h"
#include "viewer/ViewerCore.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

namespace {

class OutputWriterTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(viewer.load(writeTypistFile(dir, 2000)), LoadOutcome::Loaded);
    ViewSettings s;
    s.now = QDateTime(QDate(2024, 6, 30), QTime(21, 0));
    viewer.setSettings(s);
  }

  QByteArray output(const OutputRequest& request) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(writeOutput(buffer, viewer, request, u"typist.ｷﾛｸ"_s).written());
    return buffer.data();
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
  const QString expected =
      u"==== best\n"_s + pane(ViewBest) + u"==== history\n"_s + pane(ViewHistory) + u"==== calendar\n"_s +
      CalendarTexts::calendarLines(PracticeCalendar::build(viewer.runsInView().runs, ModeRomaji, QDate(2024, 6, 30)))
          .join(u'\n') +
      u'\n';
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

// The window's export of the calendar's days: the modes and the day the
// calendar window counts with, as the session is asked.
TEST(SessionOutputTest, TheCalendarsDaysAreCountedAsTheWindowAsks) {
  TempDir dir;
  SettingsFile settings{dir.file(u"hoko32.ini"_s)};
  RecordingFeedback feedback;
  ViewerSession session{settings, feedback};
  ASSERT_TRUE(session.loadRecordFile(writeTypistFile(dir, 1500), false));
  session.selectMode(ModeKana);
  const QDate today(2024, 5, 1);
  for (const bool allModes : {false, true}) {
    QBuffer exported, expected;
    exported.open(QIODevice::WriteOnly);
    expected.open(QIODevice::WriteOnly);
    using enum ViewerSession::ExportContent;
    ASSERT_TRUE(session.writeExport(exported, {Calendar, ViewAverage, true, false, allModes, today}).written());
    const PracticeCalendar days = PracticeCalendar::build(session.core().runsInView().runs,
                                                          allModes ? std::nullopt : std::optional(ModeKana), today);
    ViewExport::writeJson(expected, session.core(), {}, false, session.recordName(), &days);
    EXPECT_EQ(exported.data(), expected.data()) << "all modes " << allModes;
  }
}

}  // namespace
