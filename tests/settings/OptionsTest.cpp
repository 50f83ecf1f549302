#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "analysis/View.h"
#include "platform/NativePath.h"
#include "platform/UserFolders.h"
#include "settings/CalendarOptions.h"
#include "settings/ChartOptions.h"
#include "settings/Options.h"
#include "settings/ProgressOptions.h"
#include "settings/SettingsLocation.h"
#include "support/EveryOption.h"
#include "support/TempDir.h"

using namespace Qt::StringLiterals;

namespace {

const SettingsEnvironment Screen{1920, 1080, u"/opt/hoko32/"_s};

std::uint32_t resolveForTest(SettingsColor c) { return systemColorIndex(c) == SystemColorWindow ? 0xFFFFFF : 0x000000; }

class OptionsTest : public testing::Test {
 protected:
  OptionsTest() : file(dir.file(u"hoko32.ini"_s)) {}
  TempDir dir;
  SettingsFile file;
};

TEST_F(OptionsTest, MissingFileGivesTheStartValues) {
  const MainOptions o = MainOptions::load(file, Screen);
  EXPECT_EQ(o.width, 1440);
  EXPECT_EQ(o.height, 720);
  EXPECT_EQ(o.left, 240);
  EXPECT_EQ(o.top, 180);
  EXPECT_EQ(o.windowState, 0);
  EXPECT_TRUE(o.hint);
  EXPECT_EQ(o.view.recentLimit, 0);
  EXPECT_EQ(o.view.mode, ModeRomaji);
  EXPECT_EQ(o.view.hitMark, u"o"_s);
  EXPECT_EQ(o.view.missMark, u"x"_s);
  EXPECT_EQ(o.fanfare, u"/opt/hoko32/ﾌｧﾝﾌｧｰﾚ.mid"_s);
  EXPECT_EQ(o.oiwaiMessage, u"＼(^o^)／＼(^O^)／"_s);
  EXPECT_EQ(o.oiwaiFontName, u"ＭＳ ゴシック"_s);
  EXPECT_EQ(o.oiwaiFontSize, 28);
  EXPECT_EQ(o.oiwaiFontColor, 16777215);
  EXPECT_EQ(o.view.maxMiss, 255);
  EXPECT_EQ(o.view.minHitMiss, 0);
  EXPECT_EQ(o.view.countInterval, 50);
  EXPECT_EQ(o.view.rankCount, 10);
  EXPECT_FALSE(o.show3DGraph);
  EXPECT_TRUE(o.view.moreMissesAbove);
  EXPECT_EQ(o.path, u"/opt/hoko32/"_s);
  EXPECT_EQ(o.recFile, QString());
  EXPECT_TRUE(o.view.eraFrom.isNull() && o.view.eraTo.isNull()) << "no era: every run counts";
  EXPECT_EQ(o.view, ViewSettings()) << "the views start as the settings file's defaults have them";
  EXPECT_EQ(MainOptions::defaults(Screen), o);
  for (const PaneFont& font : o.fonts) {
    EXPECT_EQ(font.name, u"ＭＳ ゴシック"_s);
    EXPECT_EQ(font.size, 10);
    EXPECT_EQ(font.color, SystemColor(SystemColorWindowText));
    EXPECT_EQ(font.backColor, SystemColor(SystemColorWindow));
  }
  EXPECT_FALSE(QFile::exists(file.path())) << "reading never creates the file";
}

TEST_F(OptionsTest, StoredValuesAtTheirEdges) {
  dir.write(u"hoko32.ini"_s,
            "[Form]\r\nWidth=0x200\r\n[Option]\r\nRecent=300\r\nRankCount=0\r\nHitMark=abc\r\nMaxMiss=-1\r\n"
            "Default Type=4\r\nEraFrom=2025/13/01\r\nEraTo=\r\n[GraphFont]\r\nSize=14\r\nBackColor=255\r\n");
  MainOptions o = MainOptions::load(file, Screen);
  EXPECT_EQ(o.width, 512);
  EXPECT_EQ(o.view.recentLimit, 44);
  EXPECT_EQ(o.view.rankCount, 1);
  EXPECT_EQ(o.view.hitMark, u"a"_s);
  EXPECT_EQ(o.view.maxMiss, 255);
  EXPECT_EQ(o.view.mode, 4);
  EXPECT_FALSE(o.view.eraFrom.isValid()) << "a value that names no day is no era";
  EXPECT_TRUE(o.view.eraTo.isNull());
  EXPECT_EQ(o.fonts[ViewGraph].size, 14);
  EXPECT_EQ(o.fonts[ViewGraph].backColor, 255);
  EXPECT_EQ(o.fonts[ViewHistory].size, 10);

  ASSERT_TRUE(file.writeInteger(u"Option"_s, u"RankCount"_s, 5000));
  EXPECT_EQ(MainOptions::load(file, Screen).view.rankCount, 1000);
}

// Each key of a view setting alone in the file: the one setting it is read
// into at the edges of its reading, and what is written back for it. (Each
// setting's own key: EveryKeyOfEverySectionIsWrittenInItsPlaceAndReadBack;
// numbers and bytes as such: SettingsFileTest.)
TEST_F(OptionsTest, TheViewsKeysAreReadIntoTheirSettingsAndWrittenBack) {
  using Set = void (*)(ViewSettings&);
  const struct {
    const char* key;
    QByteArray stored;
    Set read;  // from the start values: the setting as it is read
    QByteArray written;
  } cases[] = {
      // One byte: the low 8 bits of what is stored.
      {"Recent", "-1", [](ViewSettings& s) { s.recentLimit = 255; }, "255"},
      {"MaxMiss", "256", [](ViewSettings& s) { s.maxMiss = 0; }, "0"},
      // The mode as it is stored, one that names no mode included; a value that is no number gives romaji.
      {"Default Type", "7", [](ViewSettings& s) { s.mode = 7; }, "7"},
      {"Default Type", "-1", [](ViewSettings& s) { s.mode = -1; }, "-1"},
      {"Default Type", "R", [](ViewSettings& s) { s.mode = ModeRomaji; }, "2"},
      // The first character; an empty value keeps the default one.
      {"HitMark", "#", [](ViewSettings& s) { s.hitMark = u"#"_s; }, "#"},
      {"HitMark", "", [](ViewSettings&) {}, "o"},
      {"MissMark", "-", [](ViewSettings& s) { s.missMark = u"-"_s; }, "-"},
      {"MissMark", "", [](ViewSettings&) {}, "x"},
      // The file's "MaxHitMiss" is the fewest keystrokes a run needs to count.
      {"MaxHitMiss", "-5", [](ViewSettings& s) { s.minHitMiss = -5; }, "-5"},
      {"CountInterval", "25", [](ViewSettings& s) { s.countInterval = 25; }, "25"},
      {"CountInterval", "x", [](ViewSettings&) {}, "50"},
      {"RankCount", "33", [](ViewSettings& s) { s.rankCount = 33; }, "33"},
      {"MissEval", "0", [](ViewSettings& s) { s.moreMissesAbove = false; }, "0"},
      {"MissEval", "5", [](ViewSettings&) {}, "1"},
      {"EraFrom", "2025/04/01", [](ViewSettings& s) { s.eraFrom = QDate(2025, 4, 1); }, "2025/04/01"},
      {"EraFrom", "2025/13/01", [](ViewSettings&) {}, ""},
      {"EraTo", "2025/12/31", [](ViewSettings& s) { s.eraTo = QDate(2025, 12, 31); }, "2025/12/31"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.stored.toStdString());
    dir.write(u"hoko32.ini"_s, "[Option]\r\n" + QByteArray(c.key) + "=" + c.stored + "\r\n");
    const MainOptions o = MainOptions::load(file, Screen);
    ASSERT_TRUE(file.writeTogether([&] { return o.save(file, resolveForTest); }));
    ViewSettings read;
    c.read(read);
    EXPECT_TRUE(o.view == read) << "that setting alone; written back:\n" << dir.read(u"hoko32.ini"_s).toStdString();
    EXPECT_EQ(file.readText(u"Option"_s, QString::fromLatin1(c.key), u"?"_s).toLatin1(), c.written);
  }
}

// A setting beyond what its key can keep is written as it is kept.
TEST_F(OptionsTest, TheSettingOfAByteKeyIsWrittenAsItsLow8Bits) {
  MainOptions o = MainOptions::defaults(Screen);
  o.view.recentLimit = 300;
  o.view.maxMiss = -1;
  ASSERT_TRUE(o.save(file, resolveForTest));
  EXPECT_EQ(file.readText(u"Option"_s, u"Recent"_s, {}), u"44"_s);
  EXPECT_EQ(file.readText(u"Option"_s, u"MaxMiss"_s, {}), u"255"_s);
}

// A day is one the windows' date fields can show, with four digits of year;
// any other value is no day, in every section, and so is written back as none.
TEST_F(OptionsTest, DaysAreThoseTheDateFieldsShow) {
  const struct {
    const char* text;
    QDate day;  // null: no day
  } cases[] = {
      {"2025/04/01", QDate(2025, 4, 1)},
      {"1752/09/14", QDate(1752, 9, 14)},
      {"9999/12/31", QDate(9999, 12, 31)},
      {"1752/09/13", {}},
      {"-2000/01/01", {}},
      {"2025/02/29", {}},
      {"2025-04-01", {}},
      {"", {}},
  };
  for (const auto& c : cases) {
    dir.write(u"hoko32.ini"_s, QByteArray("[Option]\r\nEraFrom=") + c.text + "\r\nEraTo=" + c.text +
                                   "\r\n[Progress]\r\nFrom=" + c.text + "\r\nTo=" + c.text + "\r\n");
    const MainOptions main = MainOptions::load(file, Screen);
    const ProgressOptions progress = ProgressOptions::load(file);
    EXPECT_EQ(main.view.eraFrom, c.day) << c.text;
    EXPECT_EQ(main.view.eraTo, c.day) << c.text;
    EXPECT_EQ(progress.from, c.day) << c.text;
    EXPECT_EQ(progress.to, c.day) << c.text;
    ASSERT_TRUE(progress.save(file));
    EXPECT_EQ(file.readText(u"Progress"_s, u"To"_s, u"?"_s), c.day.isValid() ? QString::fromLatin1(c.text) : QString())
        << c.text;
  }
}

TEST_F(OptionsTest, SaveWritesEveryValueBackAsRgb) {
  MainOptions o = MainOptions::defaults(Screen);
  o.view.hitMark = u"abc"_s;
  o.windowState = 2;
  o.recFile = u"記録.ｷﾛｸ"_s;
  o.fonts[ViewMiss].name = u"IPAGothic"_s;
  ASSERT_TRUE(o.save(file, resolveForTest));

  EXPECT_EQ(file.readText(u"Option"_s, u"HitMark"_s, {}), u"a"_s);
  EXPECT_EQ(file.readText(u"Font"_s, u"Color"_s, {}), u"0"_s);
  EXPECT_EQ(file.readText(u"Font"_s, u"BackColor"_s, {}), u"16777215"_s);
  const MainOptions back = MainOptions::load(file, Screen);
  EXPECT_EQ(back.windowState, 2);
  EXPECT_EQ(back.recFile, o.recFile);
  EXPECT_EQ(back.fonts[ViewMiss].name, u"IPAGothic"_s);
  EXPECT_EQ(back.width, o.width);
  EXPECT_EQ(back.fanfare, o.fanfare);
  EXPECT_EQ(back.fonts[ViewBest].backColor, 0xFFFFFF);
}

TEST_F(OptionsTest, SaveStopsAtTheFirstValueItCannotWrite) {
  dir.write(u"plain"_s, "x");
  SettingsFile blocked(dir.file(u"plain/hoko32.ini"_s));
  EXPECT_FALSE(MainOptions::defaults(Screen).save(blocked, resolveForTest));
}

TEST_F(OptionsTest, ChartWindowIsCentredAtTheSizeRead) {
  ChartOptions d = ChartOptions::load(file, Screen);
  EXPECT_EQ(d.height, 720);
  EXPECT_EQ(d.width, 1280);
  EXPECT_EQ(d.top, 180);
  EXPECT_EQ(d.left, 320);
  EXPECT_TRUE(d.marker && d.legend && d.threeD);
  EXPECT_EQ(d.barStyle, 0);
  EXPECT_EQ(d.maxPointsPerPage, 10);

  dir.write(u"hoko32.ini"_s, "[ChartForm]\nHeight=400\nWidth=600\n[ChartOption]\n3D=0\n");
  const ChartOptions c = ChartOptions::load(file, Screen);
  EXPECT_EQ(c.top, 340);
  EXPECT_EQ(c.left, 660);
  EXPECT_FALSE(c.threeD);
}

// Every key of every section away from its default: written in the order of a
// new file, read back as written.
TEST_F(OptionsTest, EveryKeyOfEverySectionIsWrittenInItsPlaceAndReadBack) {
  const MainOptions o = everyMainOption();
  const ChartOptions chart{401, 602, 33, 44, false, false, false, 5, 25};
  const CalendarOptions calendar{70, 80, 640, 480, true};
  const ProgressOptions progress{90, 100, 800, 500, 25, 7, 300, QDate(2026, 1, 2), QDate(2026, 11, 30), true};
  ASSERT_TRUE(o.save(file, resolveForTest) && chart.save(file) && calendar.save(file) && progress.save(file));

  QByteArray expected =
      "[Form]\r\nWindowState=1\r\nWidth=801\r\nHeight=602\r\nLeft=13\r\nTop=14\r\n\r\n"
      "[Option]\r\nHint=0\r\nRecent=200\r\nDefault Type=3\r\nHitMark=#\r\nMissMark=-\r\nFanfare=" +
      NativePath::toNative(o.fanfare).toLatin1() +
      "\r\n"
      "OiwaiMessage=ok\r\nOiwaiFontName=IPAGothic\r\nOiwaiFontSize=40\r\nOiwaiFontColor=1193046\r\nMaxMiss=9\r\n"
      "MaxHitMiss=7\r\nCountInterval=25\r\nRankCount=999\r\nShow3DGraph=1\r\nMissEval=0\r\nAutoReload=0\r\n"
      "EraFrom=2025/04/01\r\nEraTo=2025/12/31\r\n\r\n"
      "[File]\r\nPath=" +
      NativePath::toNative(o.path).toLatin1() + "\r\nRecFile=a.txt\r\n";
  for (int pane = 0; pane < PaneCount; ++pane)
    expected += u"\r\n[%1]\r\nFontName=F%2\r\nSize=%3\r\nColor=%4\r\nBackColor=%5\r\n"_s.arg(paneFontSections()[pane])
                    .arg(pane)
                    .arg(11 + pane)
                    .arg(16 + pane)
                    .arg(32 + pane)
                    .toLatin1();
  expected +=
      "\r\n[ChartForm]\r\nHeight=401\r\nWidth=602\r\nTop=33\r\nLeft=44\r\n\r\n"
      "[ChartOption]\r\nMarker=0\r\nLegend=0\r\n3D=0\r\nBarStyle=5\r\nMaxPointsPerPage=25\r\n\r\n"
      "[Calendar]\r\nLeft=70\r\nTop=80\r\nWidth=640\r\nHeight=480\r\nAllModes=1\r\n\r\n"
      "[Progress]\r\nLeft=90\r\nTop=100\r\nWidth=800\r\nHeight=500\r\nWindow=25\r\nRange=7\r\nLastRuns=300\r\n"
      "From=2026/01/02\r\nTo=2026/11/30\r\nAllModes=1\r\n";
  QFile written(file.path());
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(written.readAll().toStdString(), expected.toStdString());

  EXPECT_EQ(MainOptions::load(file, Screen), o);
  EXPECT_EQ(ChartOptions::load(file, Screen), chart);
  EXPECT_EQ(CalendarOptions::load(file), calendar);
  EXPECT_EQ(ProgressOptions::load(file), progress);
}

TEST(SettingsLocation, BesideAWritableProgramElsePerUser) {
  TempDir dir;
  EXPECT_EQ(SettingsLocation::forProgram(dir.file(u"hoko32"_s)), dir.file(u"hoko32.ini"_s));

  const char* variable = UserFolders::settingsVariable();
  const QByteArray before = qgetenv(variable);
  qputenv(variable, dir.file(u"config"_s).toUtf8());
  const QString perUser = dir.file(u"config/hoko32/hoko32.ini"_s);
  // A program whose folder cannot be written: one that is missing; /proc, not writable even for root.
  EXPECT_EQ(SettingsLocation::forProgram(dir.file(u"missing/hoko32"_s)), perUser);
  if (const QFileInfo proc(u"/proc/self"_s); proc.isDir() && !proc.isWritable()) {
    EXPECT_EQ(SettingsLocation::forProgram(u"/proc/self/hoko32"_s), perUser);
  }
  // An installed program keeps its settings per user also when its folder could be written (an
  // administrator), in the folder of the installed programs and below it.
  const QStringList installed = UserFolders::installedProgramFolders();
  ASSERT_FALSE(installed.isEmpty());
  for (const QString& folder : installed) {
    EXPECT_EQ(SettingsLocation::forProgram(folder + u"/hoko32-report"_s),
              dir.file(u"config/hoko32/hoko32-report.ini"_s));
    EXPECT_EQ(SettingsLocation::forProgram(folder + u"/lib/hoko32/hoko32"_s), perUser);
  }
  // A relative folder is ignored as a missing one is.
  qunsetenv(variable);
  const QString unset = SettingsLocation::perUserFile(u"hoko32"_s);
  EXPECT_TRUE(unset.startsWith(QDir::homePath() + u'/')) << unset.toStdString();
  qputenv(variable, "relative/ignored");
  EXPECT_EQ(SettingsLocation::perUserFile(u"hoko32"_s), unset);
  before.isNull() ? qunsetenv(variable) : qputenv(variable, before);

  EXPECT_EQ(SettingsLocation::folderOf(dir.file(u"hoko32"_s)), dir.path() + u'/');
  EXPECT_EQ(SettingsLocation::folderOf(QDir::rootPath() + u"hoko32"_s), QDir::rootPath());
}

}  // namespace
