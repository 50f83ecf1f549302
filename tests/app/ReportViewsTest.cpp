#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QProcess>

#include "platform/ShiftJis.h"
#include "settings/SettingsFile.h"
#include "support/QtPrinters.h"
#include "support/RecordLines.h"
#include "support/TempDir.h"

using namespace Qt::StringLiterals;
using testing::AllOf;
using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

namespace {

// The report tool end to end on a small record file.
class ReportViewsTest : public testing::Test {
 protected:
  ReportViewsTest() : settingsPath(dir.file(u"settings.ini"_s)), recordPath(dir.file(u"run.ｷﾛｸ"_s)) {
    std::string text;
    text += recordLine(ModeRomaji, 2023, 4, 5, 9, 0, 0, 200, 4);
    text += recordLine(ModeRomaji, 2023, 4, 5, 9, 5, 0, 210, 7);
    text += recordLine(ModeAlphabet, 2023, 4, 5, 9, 9, 0, 150, 30);
    text += recordLine(ModeRomaji, 2023, 4, 6, 20, 0, 0, 220, 3);
    text += recordLine(ModeRomaji, 2023, 4, 20, 20, 0, 0, 220, 0);
    text += recordLine(ModeRomaji, 2023, 5, 2, 20, 0, 0, 180, 25);
    dir.write(u"run.ｷﾛｸ"_s, QByteArray::fromStdString(text));
  }

  QByteArray reportBytes(const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromUtf8(HOKO32_REPORT_EXE),
                  QStringList{u"--settings"_s, settingsPath, u"--now"_s, u"2023-04-06 21:30:05"_s} + arguments +
                      QStringList{recordPath});
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
  }
  std::string report(const QStringList& arguments) { return QString::fromUtf8(reportBytes(arguments)).toStdString(); }

  TempDir dir;
  QString settingsPath;
  QString recordPath;
};

TEST_F(ReportViewsTest, AllFiveViewsInTabOrder) {
  const std::string text = report({});
  const auto at = [&](const char* name) { return text.find(std::string("==== ") + name + "\n"); };
  ASSERT_EQ(at("history"), 0u);
  EXPECT_LT(at("history"), at("graph"));
  EXPECT_LT(at("graph"), at("average"));
  EXPECT_LT(at("average"), at("miss"));
  EXPECT_LT(at("miss"), at("best"));
  EXPECT_THAT(text, HasSubstr("<<ローマ字の足跡 >>\n※記録更新回数: 3回（総練習回数：5回）\n"));
}

TEST_F(ReportViewsTest, OneViewHasNoHeading) {
  EXPECT_EQ(report({u"--view"_s, u"graph"_s}),
            "<<ローマ字の成長グラフ >>\n"
            "2023-04-06 " +
                std::string(44, 'o') +
                "\n"
                "2023-04-05 " +
                std::string(42, 'o') +
                "x\n"
                "2023-04-05 " +
                std::string(40, 'o') + "\n");
}

TEST_F(ReportViewsTest, CopyAllAddsTheScaleAndRuler) {
  const std::string graph = report({u"--view"_s, u"graph"_s, u"--copy"_s});
  EXPECT_THAT(graph, StartsWith("<<ローマ字の成長グラフ >>\n 更新日             50 "));
  EXPECT_THAT(graph, HasSubstr("\n        |----------+"));
  const std::string average = report({u"--view"_s, u"average"_s, u"--copy"_s});
  EXPECT_THAT(average, StartsWith("<<ローマ字の平均の推移 >>\n  練習日    回数  平均     "));
  EXPECT_THAT(average, HasSubstr("\n                         |---"));
  // Under the no-miss option the miss pane is hidden: copy all copies nothing.
  EXPECT_EQ(report({u"--view"_s, u"miss"_s, u"--nomiss"_s, u"--copy"_s}), "");
  EXPECT_NE(report({u"--view"_s, u"miss"_s, u"--copy"_s}), "");
}

TEST_F(ReportViewsTest, ModeAndOptions) {
  EXPECT_THAT(report({u"--view"_s, u"history"_s, u"--mode"_s, u"A"_s}), StartsWith("<<英字の足跡 >>\n"));
  EXPECT_THAT(report({u"--view"_s, u"history"_s, u"--nomiss"_s}),
              StartsWith("<<ローマ字ノーミスの足跡 >>\n※記録更新回数: 1回（総練習回数：1回）\n"));
  EXPECT_THAT(report({u"--view"_s, u"history"_s, u"--levelup"_s}), HasSubstr("※記録更新回数: 1回"));
  EXPECT_THAT(report({u"--view"_s, u"history"_s, u"--recent"_s, u"1"_s}),
              testing::EndsWith("経過期間\n2023-04-06  20:00:00  Hit: 220  Miss:  3     3回    1回    1日\n"));
  EXPECT_THAT(report({u"--view"_s, u"graph"_s, u"--hit-mark"_s, u"#"_s, u"--miss-mark"_s, u"-"_s}),
              HasSubstr("2023-04-05 " + std::string(42, '#') + "-\n"));
}

TEST_F(ReportViewsTest, AveragePeriodsAndFilters) {
  EXPECT_THAT(report({u"--view"_s, u"average"_s}), HasSubstr("2023-04-05    2 205(  5) |"));
  EXPECT_THAT(report({u"--view"_s, u"average"_s, u"--period"_s, u"week"_s}), HasSubstr(" 第   3週     1 220(  0) |"));
  EXPECT_THAT(report({u"--view"_s, u"average"_s, u"--period"_s, u"month"_s}), HasSubstr("2023年 4月    4 212(  3) |"));
  EXPECT_THAT(report({u"--view"_s, u"average"_s, u"--period"_s, u"year"_s}), HasSubstr("2023年平均    5 206(  7) |"));
  EXPECT_THAT(report({u"--view"_s, u"average"_s, u"--period"_s, u"count"_s, u"--interval"_s, u"2"_s}),
              HasSubstr("2023-04-06    2 205(  5) |"));
  EXPECT_THAT(report({u"--view"_s, u"average"_s, u"--max-miss"_s, u"5"_s, u"--period"_s, u"year"_s}),
              HasSubstr("2023年平均    3 213(  2) |"));
  EXPECT_THAT(report({u"--view"_s, u"average"_s, u"--min-keys"_s, u"215"_s, u"--period"_s, u"year"_s}),
              HasSubstr("2023年平均    3 216(  3) |"));
}

TEST_F(ReportViewsTest, MissAndRankingOptions) {
  EXPECT_THAT(report({u"--view"_s, u"miss"_s, u"--min-hits"_s, u"200"_s}),
              StartsWith("ローマ字のヒット数が 200 以上のミス率ワースト１０\n\n 2023-04-05  09:05:00  Hit: 210"));
  EXPECT_EQ(report({u"--view"_s, u"best"_s, u"--rank-count"_s, u"2"_s}),
            "ローマ字自己記録のベスト2 (2023/04/06 21:30:05 現在)\n\n"
            "第 1位  2023-04-06  20:00:00  Hit: 220  Miss:  3\n"
            "第 2位  2023-04-20  20:00:00  Hit: 220  Miss:  0\n");
  EXPECT_THAT(report({u"--view"_s, u"best"_s, u"--rank-count"_s, u"2"_s, u"--miss-down"_s}),
              HasSubstr("第 1位  2023-04-20  20:00:00  Hit: 220  Miss:  0\n"));
}

TEST_F(ReportViewsTest, SettingsFileValuesApplyUnlessOverridden) {
  SettingsFile settings(settingsPath);
  ASSERT_TRUE(settings.writeInteger(u"Option"_s, u"Default Type"_s, 0));
  ASSERT_TRUE(settings.writeText(u"Option"_s, u"HitMark"_s, u"*"_s));
  ASSERT_TRUE(settings.writeInteger(u"Option"_s, u"RankCount"_s, 1));
  ASSERT_TRUE(settings.writeInteger(u"Option"_s, u"MissEval"_s, 0));
  EXPECT_THAT(report({u"--view"_s, u"graph"_s}),
              StartsWith("<<英字の成長グラフ >>\n2023-04-05 ******************************xxxxxx\n"));
  EXPECT_THAT(report({u"--view"_s, u"best"_s}), StartsWith("英字自己記録のベスト1 ("));
  EXPECT_THAT(report({u"--view"_s, u"best"_s, u"--mode"_s, u"R"_s, u"--rank-count"_s, u"1"_s}),
              HasSubstr("第 1位  2023-04-20  20:00:00  Hit: 220  Miss:  0\n"))
      << "MissEval 0: more misses below";
  EXPECT_EQ(settings.readText(u"Option"_s, u"RankCount"_s, {}), u"1"_s) << "the tool writes only FileSize";
}

TEST_F(ReportViewsTest, ShiftJisOutput) {
  const QByteArray utf8 = reportBytes({u"--view"_s, u"miss"_s});
  const QByteArray sjis = reportBytes({u"--view"_s, u"miss"_s, u"--encoding"_s, u"sjis"_s});
  EXPECT_EQ(ShiftJis::encode(QString::fromUtf8(utf8)), sjis);
  EXPECT_THAT(sjis.toStdString(), Not(HasSubstr("ローマ字")));
}

TEST_F(ReportViewsTest, CalendarOfTheModeOrOfAllModes) {
  EXPECT_EQ(report({u"--view"_s, u"calendar"_s}),
            "<<ローマ字の練習カレンダー >>\n"
            "現在の連続練習日数: 2日 (2023-04-05 ～ 2023-04-06)\n"
            "最長の連続練習日数: 2日 (2023-04-05 ～ 2023-04-06)\n"
            "今年の練習日数: 4日\n"
            "練習日数: 4日\n"
            "総練習回数: 5回\n"
            "最も多く練習した日: 2023-04-05 (2回)\n"
            "  練習日    回数  最高  平均HIT 平均MISS\n"
            "2023-04-05     2   210    205.0      5.5  自己ベスト更新\n"
            "2023-04-06     1   220    220.0      3.0  自己ベスト更新\n"
            "2023-04-20     1   220    220.0      0.0\n"
            "2023-05-02     1   180    180.0     25.0\n");
  EXPECT_THAT(report({u"--view"_s, u"calendar"_s, u"--all-modes"_s, u"--mode"_s, u"!"_s}),
              AllOf(StartsWith("<<すべてのモードの練習カレンダー >>\n"), HasSubstr("総練習回数: 6回\n"),
                    HasSubstr("\n2023-04-05     3   210    186.7     13.7  自己ベスト更新\n")));
}

// After the views asked for, never one of the default ones; today is the day of --now.
TEST_F(ReportViewsTest, CalendarAfterTheViewsAndTodayFromNow) {
  const std::string text = report({u"--view"_s, u"calendar"_s, u"--view"_s, u"best"_s});
  EXPECT_THAT(text, AllOf(StartsWith("==== best\n"), HasSubstr("\n==== calendar\n<<ローマ字の練習カレンダー >>\n")));
  EXPECT_THAT(report({}), Not(HasSubstr("カレンダー")));
  EXPECT_THAT(report({u"--now"_s, u"2023-04-08 23:59:59"_s, u"--view"_s, u"calendar"_s}),
              HasSubstr("\n現在の連続練習日数: 0日\n"));
}

TEST_F(ReportViewsTest, NoRunsOfTheModeShowTheNoDataTexts) {
  EXPECT_EQ(report({u"--view"_s, u"history"_s, u"--mode"_s, u"!"_s}),
            "<<記号の足跡 >>\n※記録更新回数: 0回（総練習回数：0回）\n　記録がありません。\n");
  EXPECT_EQ(report({u"--view"_s, u"average"_s, u"--mode"_s, u"!"_s}), "<<記号の平均の推移 >>\n　記録がありません。\n");
}

}  // namespace
