// The view table: one row per tab view in tab order, each naming what the
// window, the settings file, the help and the export know the view by, and the
// functions that make its pane, its chart input and its exported table.
#include <gtest/gtest.h>

#include <QSet>

#include "analysis/AverageTrend.h"
#include "analysis/ModePass.h"
#include "analysis/View.h"
#include "analysis/ViewSettings.h"
#include "support/QtPrinters.h"
#include "support/Runs.h"

using namespace Qt::StringLiterals;

namespace {

TEST(ViewTableTest, EachRowIsItsTabAndNamesItselfOnce) {
  QSet<QString> names, captions, menuNames, fontSections, helpPages;
  QSet<int> topics;
  for (int tab = 0; tab < ViewCount; ++tab) {
    const ViewInfo& info = Views[static_cast<std::size_t>(tab)];
    SCOPED_TRACE(info.name.toString().toStdString());
    EXPECT_EQ(info.view, tab);
    EXPECT_EQ(&viewInfo(tab), &info);
    EXPECT_EQ(viewNamed(info.name), info.view);
    EXPECT_NE(info.paneLines, nullptr);
    EXPECT_NE(info.table, nullptr);
    names << info.name.toString();
    captions << info.caption.toString();
    menuNames << info.menuName.toString();
    fontSections << info.fontSection.toString();
    helpPages << info.helpPage.toString();
    topics << info.helpTopic;
  }
  for (const auto size : {names.size(), captions.size(), menuNames.size(), fontSections.size(), helpPages.size(),
                          qsizetype(topics.size())})
    EXPECT_EQ(size, ViewCount);
  EXPECT_FALSE(names.contains(CalendarViewName.toString()));
}

TEST(ViewTableTest, TagsOutOfRangeReadTheNearestRowAndUnknownNamesNone) {
  EXPECT_EQ(viewInfo(-1).view, ViewHistory);
  EXPECT_EQ(viewInfo(ViewCount).view, ViewCount - 1);
  EXPECT_EQ(viewNamed(u"calendar"), std::nullopt);
  EXPECT_EQ(viewNamed(u"History"), std::nullopt);
  EXPECT_EQ(viewNamed(u""), std::nullopt);
}

class ViewTableDataTest : public testing::Test {
 protected:
  void compute(int recentLimit, int rankCount) {
    settings.mode = ModeRomaji;
    settings.recentLimit = recentLimit;
    settings.rankCount = rankCount;
    const auto refs = runs.references();
    pass.run(refs, ViewSettingsMapping::modePassOptions(settings), flags);
    trend.calculate(refs, ViewSettingsMapping::averageOptions(settings));
  }

  RunList runs;
  ViewSettings settings;
  CelebrationFlags flags;
  ModePass pass;
  AverageTrend trend;
};

// Every view's table has a cell per column in each row, and a table of kinds
// starts each row with the name of one of them; empty passes give headed tables.
TEST_F(ViewTableDataTest, EveryRowFillsTheColumnsAndKindsNameTheirRows) {
  for (int day = 1; day <= 12; ++day) runs.add(makeRun(ModeRomaji, 2023, 5, day, 100 + (day * 37) % 50, day % 4));
  for (const bool empty : {false, true}) {
    if (empty) runs = {};
    compute(0, 10);
    for (const ViewInfo& info : Views) {
      SCOPED_TRACE(info.name.toString().toStdString());
      const ViewTable table = info.table({pass, trend}, settings);
      EXPECT_FALSE(table.columns.isEmpty());
      if (!empty) {
        EXPECT_FALSE(table.rows.empty());
      }
      for (const ViewRow& row : table.rows) {
        ASSERT_EQ(row.size(), static_cast<std::size_t>(table.columns.size()));
        if (table.kinds.empty()) continue;
        EXPECT_TRUE(std::any_of(table.kinds.begin(), table.kinds.end(),
                                [&row](const ViewTable::Kind& kind) { return kind.name == row.front().text; }));
      }
    }
  }
}

// The display-count limit holds the dated views' rows as it holds their pane
// lines; the rank count holds the ranking's.
TEST_F(ViewTableDataTest, LimitsHoldTheRowsAsThePane) {
  for (int day = 1; day <= 20; ++day) runs.add(makeRun(ModeRomaji, 2023, 5, day, 100 + day, 1));
  struct Case {
    View view;
    int recentLimit, rankCount;
    std::size_t rows;
  };
  const Case cases[] = {
      {ViewHistory, 0, 10, 20}, {ViewHistory, 3, 10, 3},  {ViewGraph, 0, 10, 20},
      {ViewGraph, 1, 10, 1},    {ViewAverage, 0, 10, 20}, {ViewAverage, 5, 10, 5},
      {ViewBest, 0, 10, 10},    {ViewBest, 3, 25, 20},    {ViewBest, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << viewInfo(c.view).name.toString().toStdString() << " recent " << c.recentLimit
                                    << " ranks " << c.rankCount);
    compute(c.recentLimit, c.rankCount);
    EXPECT_EQ(viewInfo(c.view).table({pass, trend}, settings).rows.size(), c.rows);
  }
}

}  // namespace
