// The era in the viewer core: the title, and the bests a live reload compares.
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

TEST(ViewerEra, TheTitleNamesTheEra) {
  const QDate first(2025, 4, 1), last(2025, 12, 31);
  const struct {
    QDate from, to;
    QString title;
  } cases[] = {{{}, {}, u"ＴＡＰＰＥＲの足跡32"_s},
               {first, {}, u"ＴＡＰＰＥＲの足跡32 (2025/04/01 以降)"_s},
               {first, last, u"ＴＡＰＰＥＲの足跡32 (2025/04/01 ～ 2025/12/31)"_s},
               {{}, last, u"ＴＡＰＰＥＲの足跡32 (2025/12/31 まで)"_s}};
  for (const auto& c : cases) {
    ViewSettings s;
    s.eraFrom = c.from;
    s.eraTo = c.to;
    EXPECT_EQ(ViewSettingsMapping::windowTitle(s), c.title);
  }
}

// Romaji 260 the day before the era, 220 on its first day (the start day too).
TEST(ViewerEra, ALiveReloadCelebratesRecordsOfTheEra) {
  TempDir dir;
  SettingsFile settings{dir.file(u"hoko32.ini"_s)};
  RecordingFeedback feedback;
  ViewerCore viewer{settings, feedback};
  const QString path =
      dir.write(u"t.ｷﾛｸ"_s, QByteArray::fromStdString(recordLine(ModeRomaji, 2024, 5, 1, 9, 0, 0, 260, 2) +
                                                      recordLine(ModeRomaji, 2024, 5, 2, 9, 0, 0, 220, 2)));
  const auto appendAndReload = [&](const std::string& line) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append) && file.write(line.data(), qint64(line.size())) > 0);
    file.close();
    ASSERT_EQ(viewer.reload(path, ViewerCore::Reload::Appended), LoadOutcome::Loaded);
  };
  ViewSettings s;
  s.startDate = *DayCount::encodeDate(2024, 5, 2);
  s.eraFrom = QDate(2024, 5, 2);
  viewer.setSettings(s);
  ASSERT_EQ(viewer.load(path), LoadOutcome::Loaded);
  EXPECT_EQ(viewer.recalculate(ViewHistory).value_or(RecordToCelebrate{}).best, 220);
  appendAndReload(recordLine(ModeRomaji, 2024, 5, 2, 10, 0, 0, 230, 2));  // beats the era's best, not 260
  EXPECT_EQ(viewer.recalculate(ViewHistory).value_or(RecordToCelebrate{}).best, 230);
  appendAndReload(recordLine(ModeRomaji, 2024, 4, 30, 10, 0, 0, 300, 0));  // before the era: nothing changes
  EXPECT_FALSE(viewer.changedMode(ModeRomaji));
  EXPECT_EQ(viewer.runsInView().runs.size(), 2u);
  s.eraFrom = {};  // no era: the loaded runs themselves
  viewer.setSettings(s);
  EXPECT_EQ(viewer.runsInView().store.data(), viewer.records().RecordStore.data());
}

}  // namespace
