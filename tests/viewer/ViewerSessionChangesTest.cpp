// What the session tells the windows that follow it: one change after each
// load, reload, mode switch, change of the no-miss option or of the era, and
// none after a change of another setting; and what a listener reads of the
// session then.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "settings/SettingsFile.h"
#include "support/RecordLines.h"
#include "support/RecordingFeedback.h"
#include "support/TempDir.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

namespace {

using Change = ViewerSession::Change;

class ViewerSessionChangesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recordPath =
        dir.write(u"typist.ｷﾛｸ"_s, QByteArray::fromStdString(recordLine(ModeRomaji, 2024, 4, 30, 9, 0, 0, 200, 3) +
                                                             recordLine(ModeKana, 2024, 5, 2, 9, 0, 0, 150, 1)));
    session.setRecordFile(dir.path() + u'/', u"typist.ｷﾛｸ"_s);
    QObject::connect(&session, &ViewerSession::changed, [this](Change change) { told.push_back(change); });
  }
  // What `step` made the session tell.
  std::vector<Change> toldBy(const std::function<void()>& step) {
    told.clear();
    step();
    return told;
  }

  TempDir dir;
  QString recordPath;
  SettingsFile settings{dir.file(u"hoko32.ini"_s)};
  RecordingFeedback feedback;
  ViewerSession session{settings, feedback};
  std::vector<Change> told;
};

TEST_F(ViewerSessionChangesTest, EachChangeTheWindowsFollowIsToldOnce) {
  session.selectMode(ModeRomaji);
  ASSERT_EQ(session.load(), LoadOutcome::Loaded);
  struct Case {
    const char* step;
    std::function<void()> run;
    std::vector<Change> told;
  };
  const Case cases[] = {
      {"load", [&] { session.load(); }, {Change::Load}},
      {"load of a missing file",
       [&] {
         session.setRecordName(u"gone.ｷﾛｸ"_s);
         session.load();
         session.setRecordName(u"typist.ｷﾛｸ"_s);
       },
       {Change::Load}},
      {"reload of nothing new",
       [&] { session.reload(ViewerCore::Reload::Appended, QDate(2024, 5, 3)); },
       {Change::Reload}},
      {"reload of a replaced file",
       [&] { session.reload(ViewerCore::Reload::Replaced, QDate(2024, 5, 3)); },
       {Change::Reload}},
      {"mode switch", [&] { session.selectMode(ModeKana); }, {Change::Mode}},
      {"the same mode again", [&] { session.selectMode(ModeKana); }, {Change::Mode}},
      {"no-miss on", [&] { session.changeSettings([](ViewSettings& s) { s.noMiss = true; }); }, {Change::NoMiss}},
      {"no-miss left on", [&] { session.changeSettings([](ViewSettings& s) { s.noMiss = true; }); }, {}},
      {"no-miss off", [&] { session.changeSettings([](ViewSettings& s) { s.noMiss = false; }); }, {Change::NoMiss}},
      {"another setting", [&] { session.changeSettings([](ViewSettings& s) { s.rankCount = 5; }); }, {}},
      {"marks", [&] { session.setMarks(u"#"_s, u"x"_s); }, {}},
      {"start day", [&] { session.setStartDay(QDate(2024, 5, 3)); }, {}},
      {"era", [&] { session.setEra(QDate(2024, 5, 1), QDate()); }, {Change::Era}},
      {"no era", [&] { session.setEra(QDate(), QDate()); }, {Change::Era}},
      {"the stored size forgotten", [&] { session.forgetStoredSize(); }, {}},
      {"the record file named", [&] { session.setRecordFile(dir.path() + u'/', u"typist.ｷﾛｸ"_s); }, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(toldBy(c.run), c.told) << c.step;
}

// A listener told of a change reads the session as it stands after it.
TEST_F(ViewerSessionChangesTest, AListenerReadsTheSessionAfterTheChange) {
  session.selectMode(ModeRomaji);
  std::vector<std::size_t> runsSeen;
  std::vector<QString> erasSeen;
  std::vector<EraDays> eraDaysSeen;
  QObject::connect(&session, &ViewerSession::changed, [&](Change) {
    runsSeen.push_back(session.calendarRuns().size());
    erasSeen.push_back(session.eraText());
    eraDaysSeen.push_back(session.eraDays());
  });
  session.load();
  session.setEra(QDate(2024, 5, 1), QDate());
  session.setEra(QDate(), QDate(2024, 4, 30));
  session.setEra(QDate(), QDate());
  EXPECT_EQ(runsSeen, (std::vector<std::size_t>{2, 1, 1, 2}));
  ASSERT_EQ(erasSeen.size(), 4u);
  EXPECT_TRUE(erasSeen[0].isEmpty());
  EXPECT_TRUE(erasSeen[1].contains(u"2024"_s)) << erasSeen[1].toStdString();
  EXPECT_NE(erasSeen[1], erasSeen[2]);
  EXPECT_TRUE(erasSeen[3].isEmpty());
  // The era's days: the whole history without one.
  EXPECT_EQ(eraDaysSeen.front(), EraDays());
  EXPECT_EQ(eraDaysSeen[1].last, EraDays().last);
  EXPECT_NE(eraDaysSeen[1].first, EraDays().first);
  EXPECT_NE(eraDaysSeen[2].last, EraDays().last);
  EXPECT_EQ(eraDaysSeen.back(), EraDays());
}

}  // namespace
