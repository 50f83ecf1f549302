// The viewer session without a window: the command line, the options it
// takes from the settings file and gives back, what a live reload asks the
// window to do, the banner pictures and the export's names and failures.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/NativePath.h"
#include "records/DayCount.h"
#include "settings/SettingsFile.h"
#include "support/EveryOption.h"
#include "support/RecordLines.h"
#include "support/RecordingFeedback.h"
#include "support/TempDir.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

namespace {

class ViewerSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recordPath =
        dir.write(u"typist.ｷﾛｸ"_s, QByteArray::fromStdString(recordLine(ModeRomaji, 2024, 4, 30, 9, 0, 0, 200, 3)));
  }
  void append(const std::string& line) const {
    QFile file(recordPath);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(line.data(), qint64(line.size()));
  }

  TempDir dir;
  QString recordPath;
  SettingsFile settings{dir.file(u"hoko32.ini"_s)};
  RecordingFeedback feedback;
  ViewerSession session{settings, feedback};
};

TEST_F(ViewerSessionTest, TheCommandLineNamesTheRecordFileAndTheMode) {
  struct Case {
    QStringList arguments;
    ViewerSession::CommandLine answer;
    QString name;
    int mode;
  };
  const QString missing = dir.file(u"gone.ｷﾛｸ"_s);
  const Case cases[] = {
      {{recordPath, u"A"_s}, ViewerSession::CommandLine::RecordFile, u"typist.ｷﾛｸ"_s, ModeAlphabet},
      {{recordPath, u"ｱ"_s}, ViewerSession::CommandLine::RecordFile, u"typist.ｷﾛｸ"_s, ModeKana},
      {{recordPath, u"!"_s}, ViewerSession::CommandLine::RecordFile, u"typist.ｷﾛｸ"_s, ModeSymbols},
      {{recordPath, u"K"_s},
       ViewerSession::CommandLine::RecordFile,
       u"typist.ｷﾛｸ"_s,
       ModeRomaji},  // no letter of the viewer's
      {{recordPath}, ViewerSession::CommandLine::RecordFile, u"typist.ｷﾛｸ"_s, ModeSymbols},  // the mode as it was
      {{missing, u"A"_s}, ViewerSession::CommandLine::MissingFile, QString(), ModeAlphabet},
      {{}, ViewerSession::CommandLine::None, QString(), ModeSymbols},  // the stored file is missing
  };
  session.selectMode(ModeSymbols);
  session.setRecordFile(dir.path() + u"/elsewhere/"_s, u"old.ｷﾛｸ"_s);
  for (const Case& c : cases) {
    if (c.arguments.size() == 1 || c.arguments.isEmpty()) session.selectMode(ModeSymbols);
    EXPECT_EQ(session.applyCommandLine(c.arguments), c.answer) << c.arguments.join(u' ').toStdString();
    EXPECT_EQ(session.recordName(), c.name) << c.arguments.join(u' ').toStdString();
    EXPECT_EQ(session.mode(), c.mode) << c.arguments.join(u' ').toStdString();
  }
  ASSERT_EQ(session.applyCommandLine({recordPath}), ViewerSession::CommandLine::RecordFile);
  EXPECT_EQ(session.recordPath(), recordPath);
}

// The path as the system gives it (on Windows "C:\Users\...\typist.ｷﾛｸ"), started
// from another working folder: the folder is kept with the name.
TEST_F(ViewerSessionTest, TheCommandLineKeepsTheFolderOfASystemPath) {
  const QString started = QDir::currentPath();
  const TempDir elsewhere;
  ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
  for (const QString& given : {recordPath, NativePath::toNative(recordPath)}) {
    session.setRecordFile(QString(), QString());
    EXPECT_EQ(session.applyCommandLine({given, u"A"_s}), ViewerSession::CommandLine::RecordFile) << given.toStdString();
    EXPECT_EQ(session.recordFolder(), dir.path() + u'/') << given.toStdString();
    EXPECT_EQ(session.recordName(), u"typist.ｷﾛｸ"_s) << given.toStdString();
    EXPECT_TRUE(QFileInfo(session.recordPath()).isFile()) << given.toStdString();
  }
  ASSERT_TRUE(QDir::setCurrent(started));
}

// What the settings file holds comes back byte for byte, a mode that names none included.
TEST_F(ViewerSessionTest, OptionsGoBackAsTheyCame) {
  for (const int mode : {int(ModeKana), int(ModeFailed), 7}) {
    MainOptions stored = everyMainOption();
    stored.view.mode = mode;
    ASSERT_TRUE(stored.save(settings, [](SettingsColor) { return 0u; }));
    const QByteArray before = dir.read(u"hoko32.ini"_s);

    ViewerSession fresh(settings, feedback);
    const MainOptions loaded = fresh.loadOptions({});
    EXPECT_EQ(fresh.mode(), mode);
    EXPECT_FALSE(fresh.modeSelected());
    EXPECT_EQ(fresh.recordPath(), u"/rec/a.txt"_s);
    EXPECT_EQ(fresh.core().settings(), stored.view) << "the views compute with the stored settings";
    EXPECT_EQ(ViewerSession::viewSettingsOf(loaded).mode, mode == ModeKana ? ModeKana : ModeRomaji);
    // A change of the controls keeps the mode as the settings file gave it.
    fresh.changeSettings([](ViewSettings& s) { s.mode = ModeAlphabet; });
    // The view settings are written as the session holds them, not as the window passes them.
    MainOptions window = loaded;
    window.view = ViewSettings();
    ASSERT_TRUE(fresh.saveOptions(window, [](SettingsColor) { return 0u; }));
    EXPECT_EQ(dir.read(u"hoko32.ini"_s), before) << mode;
  }
}

TEST_F(ViewerSessionTest, ALiveReloadSaysWhatTheWindowComputesAgain) {
  session.setRecordFile(dir.path() + u'/', u"typist.ｷﾛｸ"_s);
  session.selectMode(ModeRomaji);
  ASSERT_EQ(session.core().load(recordPath), LoadOutcome::Loaded);
  const QDate today(2024, 5, 2);

  append(recordLine(ModeKana, 2024, 5, 1, 9, 0, 0, 100, 1));
  EXPECT_EQ(session.reload(ViewerCore::Reload::Appended, today), ViewerSession::AfterReload::ViewsUnchanged);
  EXPECT_EQ(session.core().settings().startDate, 0);  // the start day moves only with a recomputation

  append(recordLine(ModeRomaji, 2024, 5, 2, 9, 0, 0, 210, 1));
  EXPECT_EQ(session.reload(ViewerCore::Reload::Appended, today), ViewerSession::AfterReload::Recompute);
  EXPECT_EQ(session.core().settings().startDate, *DayCount::encodeDate(2024, 5, 2));

  ASSERT_TRUE(QFile::remove(recordPath));
  EXPECT_EQ(session.reload(ViewerCore::Reload::Replaced, today), ViewerSession::AfterReload::Nothing);
}

TEST_F(ViewerSessionTest, TheLargestBannerPictureNumberCounts) {
  EXPECT_EQ(ViewerSession::bannerPictureCount(dir.path()), 0);
  for (const QString& name : {u"Oiwai1.bmp"_s, u"OIWAI12.BMP"_s, u"Oiwaix.bmp"_s, u"Oiwai3.png"_s})
    dir.write(name, "BM");
  EXPECT_EQ(ViewerSession::bannerPictureCount(dir.path()), 12);
  dir.write(u"Oiwai300.bmp"_s, "BM");  // a picture number is one byte
  EXPECT_EQ(ViewerSession::bannerPictureCount(dir.path()), 300 & 0xFF);
}

TEST_F(ViewerSessionTest, AnExportIsNamedAfterTheRecordFileAndSaysWhenItCannotWrite) {
  session.setRecordFile(dir.path() + u'/', u"typist.ｷﾛｸ"_s);
  EXPECT_FALSE(session.hasExport());  // nothing loaded
  ASSERT_EQ(session.core().load(recordPath), LoadOutcome::Loaded);
  EXPECT_FALSE(session.hasExport());  // no mode selected
  session.selectMode(ModeRomaji);
  EXPECT_TRUE(session.hasExport());

  using enum ViewerSession::ExportContent;
  EXPECT_EQ(session.exportFileName(ActiveView, ViewMiss), u"typist_ミスワースト10.csv"_s);
  EXPECT_EQ(session.exportFileName(EveryRun, ViewMiss), u"typist_全記録.csv"_s);
  EXPECT_EQ(session.exportFileName(Calendar, ViewMiss), u"typist_カレンダー.csv"_s);

  QByteArray bytes;
  QBuffer closed(&bytes);
  ASSERT_TRUE(closed.open(QIODevice::ReadOnly));
  ViewerSession::ExportRequest request;
  request.content = EveryRun;
  EXPECT_EQ(session.writeExport(closed, request).outcome, ViewExport::Result::Outcome::WriteFailed);
}

}  // namespace
