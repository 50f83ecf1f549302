// The viewer core without a window: which pass a command runs, what each view
// answers, and when a record of the start day is to be celebrated.
#include <gtest/gtest.h>

#include <QFile>

#include "records/DayCount.h"
#include "settings/SettingsFile.h"
#include "support/RecordLines.h"
#include "support/RecordingFeedback.h"
#include "support/TempDir.h"
#include "viewer/ViewerCore.h"

using namespace Qt::StringLiterals;

namespace {

class ViewerCoreTest : public ::testing::Test {
 protected:
  // Romaji: records on 2024-05-01 (the start day) and before; kana: one run before.
  void SetUp() override {
    std::string lines;
    lines += recordLine(ModeRomaji, 2024, 4, 30, 9, 0, 0, 200, 3);
    lines += recordLine(ModeKana, 2024, 4, 30, 9, 5, 0, 150, 1);
    lines += recordLine(ModeRomaji, 2024, 5, 1, 10, 0, 0, 260, 2);
    lines += recordLine(ModeRomaji, 2024, 5, 1, 11, 0, 0, 240, 0);
    recordPath = dir.write(u"typist.ｷﾛｸ"_s, QByteArray::fromStdString(lines));
    ViewSettings s;
    s.startDate = *DayCount::encodeDate(2024, 5, 1);
    s.now = QDateTime(QDate(2024, 5, 1), QTime(12, 0));
    viewer.setSettings(s);
  }

  void selectMode(PracticeMode mode) {
    ViewSettings s = viewer.settings();
    s.mode = mode;
    viewer.setSettings(s);
  }

  TempDir dir;
  QString recordPath;
  SettingsFile settings{dir.file(u"hoko32.ini"_s)};
  RecordingFeedback feedback;
  ViewerCore viewer{settings, feedback};
};

TEST_F(ViewerCoreTest, ARecordOfTheStartDayIsCelebratedOncePerModeAndLoad) {
  ASSERT_EQ(viewer.load(recordPath), LoadOutcome::Loaded);
  const std::optional<RecordToCelebrate> first = viewer.recalculate(ViewHistory);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->mode, ModeRomaji);
  EXPECT_EQ(first->best, 260);
  EXPECT_FALSE(viewer.recalculate(ViewBest));  // the same load: already celebrated
  selectMode(ModeKana);
  EXPECT_FALSE(viewer.recalculate(ViewHistory));  // no record of the start day in kana
  selectMode(ModeRomaji);
  EXPECT_FALSE(viewer.recalculate(ViewAverage));  // the averages celebrate nothing
  EXPECT_FALSE(viewer.recalculate(ViewHistory));

  ASSERT_EQ(viewer.load(recordPath), LoadOutcome::Loaded);  // a reload celebrates again
  EXPECT_TRUE(viewer.recalculate(ViewGraph));
  ASSERT_EQ(viewer.load(dir.file(u"gone.ｷﾛｸ"_s)), LoadOutcome::NoRecordFile);  // a failed load keeps the flags
  EXPECT_FALSE(viewer.recalculate(ViewGraph));
}

// While the viewer is open: each new record of the day once, nothing twice;
// and which modes' views runs appended in place can have changed.
TEST_F(ViewerCoreTest, ALiveReloadCelebratesEachNewRecordOnce) {
  const auto append = [this](const std::string& lines) {
    QFile file(recordPath);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(lines.data(), qint64(lines.size()));
  };
  ASSERT_EQ(viewer.load(recordPath), LoadOutcome::Loaded);
  ASSERT_TRUE(viewer.recalculate(ViewHistory));  // 260 of the start day

  append(recordLine(ModeRomaji, 2024, 5, 1, 12, 0, 0, 250, 0));  // no record (only the best without a miss)
  ASSERT_EQ(viewer.reload(recordPath, ViewerCore::Reload::Appended), LoadOutcome::Loaded);
  EXPECT_EQ(viewer.loader().lastSummary().kind, LoadKind::Appended);
  EXPECT_FALSE(viewer.recalculate(ViewHistory));

  append(recordLine(ModeKana, 2024, 5, 1, 12, 5, 0, 120, 0));  // kana: no record either
  ASSERT_EQ(viewer.reload(recordPath, ViewerCore::Reload::Appended), LoadOutcome::Loaded);
  EXPECT_FALSE(viewer.changedMode(ModeRomaji));
  EXPECT_TRUE(viewer.changedMode(ModeKana));

  append(recordLine(ModeRomaji, 2024, 5, 1, 13, 0, 0, 270, 1));  // the next record of the day
  ASSERT_EQ(viewer.reload(recordPath, ViewerCore::Reload::Appended), LoadOutcome::Loaded);
  EXPECT_TRUE(viewer.changedMode(ModeRomaji));
  const std::optional<RecordToCelebrate> next = viewer.recalculate(ViewHistory);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->best, 270);
  EXPECT_FALSE(viewer.recalculate(ViewHistory));

  // A replaced file is loaded anew, its data file rebuilt; the record already celebrated stays so.
  ASSERT_EQ(viewer.reload(recordPath, ViewerCore::Reload::Replaced), LoadOutcome::Loaded);
  EXPECT_EQ(viewer.loader().lastSummary().kind, LoadKind::Full);
  EXPECT_TRUE(viewer.changedMode(ModeAlphabet));
  EXPECT_FALSE(viewer.recalculate(ViewHistory));
  EXPECT_EQ(viewer.records().AllRecords.size(), 7u);
}

TEST_F(ViewerCoreTest, EachViewAnswersFromThePassBehindIt) {
  ASSERT_EQ(viewer.load(recordPath), LoadOutcome::Loaded);
  viewer.recalculate(ViewHistory);
  viewer.recalculate(ViewAverage);
  EXPECT_TRUE(viewer.paneLines(ViewAverage).first().startsWith(u"<<ローマ字の平均の推移 >>"_s));

  // The record updates behind the history and the graph, the averages behind theirs, nothing behind the rest.
  const ChartInput history = viewer.chartInput(ViewHistory);
  ASSERT_TRUE(history.points);
  EXPECT_EQ(history.points->size(), 2u);  // 200, then 260
  EXPECT_EQ(viewer.chartInput(ViewGraph).points->size(), 2u);
  ASSERT_TRUE(viewer.chartInput(ViewAverage).points);
  EXPECT_EQ(viewer.chartInput(ViewAverage).points->size(), 2u);  // two days
  EXPECT_FALSE(viewer.chartInput(ViewMiss).points);
  EXPECT_FALSE(viewer.chartInput(ViewBest).points);

  // The settings as they stand when the lines are made: a mode switch shows in
  // the titles only after its pass.
  selectMode(ModeKana);
  viewer.recalculate(ViewHistory);
  EXPECT_TRUE(viewer.paneLines(ViewHistory).first().startsWith(u"<<カナの足跡 >>"_s));
  EXPECT_TRUE(viewer.paneLines(ViewAverage).first().startsWith(u"<<ローマ字の平均の推移 >>"_s));
}

TEST_F(ViewerCoreTest, CopyAllAddsScaleAndRulerToTheChartsOnly) {
  ASSERT_EQ(viewer.load(recordPath), LoadOutcome::Loaded);
  viewer.recalculate(ViewHistory);
  viewer.recalculate(ViewAverage);
  for (View view : {ViewHistory, ViewMiss, ViewBest})
    EXPECT_EQ(viewer.copyAllLines(view, viewer.paneLines(view)), viewer.paneLines(view)) << view;
  for (View view : {ViewGraph, ViewAverage})
    EXPECT_GT(viewer.copyAllLines(view, viewer.paneLines(view)).size(), viewer.paneLines(view).size()) << view;
}

}  // namespace
