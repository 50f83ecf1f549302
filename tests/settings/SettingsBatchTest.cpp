// A window's save is one write of the settings file: one temporary copy, one
// rename, and the very bytes that the same writes one at a time leave. The
// renames are counted with inotify (Linux only).
#include <gtest/gtest.h>

#include <QFile>

#include <sys/inotify.h>
#include <unistd.h>

#include <functional>

#include "records/LoadFeedback.h"
#include "settings/CalendarOptions.h"
#include "settings/ChartOptions.h"
#include "settings/Options.h"
#include "settings/ProgressOptions.h"
#include "support/EveryOption.h"
#include "support/RecordingFeedback.h"
#include "support/TempDir.h"
#include "viewer/ViewerSession.h"

using namespace Qt::StringLiterals;

namespace {

const SettingsEnvironment Screen{1920, 1080, u"/opt/hoko32/"_s};

std::uint32_t resolveForTest(SettingsColor c) { return systemColorIndex(c) == SystemColorWindow ? 0xFFFFFF : 0x000000; }

// What happens in a folder: copies made and files renamed into place.
class FolderWatch {
 public:
  explicit FolderWatch(const QString& folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    ::inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_CREATE | IN_MOVED_TO);
  }
  ~FolderWatch() { ::close(fd_); }
  struct Counts {
    int created = 0;
    int renamedInto = 0;
  };
  // The events since the last call, for the file named `name`.
  Counts take(const QString& name) {
    Counts counts;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
      const ssize_t got = ::read(fd_, buffer, sizeof buffer);
      if (got <= 0) break;
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        const QString entry = event->len ? QFile::decodeName(event->name) : QString();
        if ((event->mask & IN_CREATE) && entry.startsWith(name + u".hoko32-tmp."_s)) ++counts.created;
        if ((event->mask & IN_MOVED_TO) && entry == name) ++counts.renamedInto;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return counts;
  }

 private:
  int fd_;
};

using Save = std::function<bool(SettingsFile&)>;

struct SaveCase {
  const char* name;
  Save save;
};

const SaveCase Saves[] = {
    {"main window", [](SettingsFile& f) { return everyMainOption().save(f, resolveForTest); }},
    {"main window, a fanfare path code page 932 cannot hold (the file turns UTF-8 midway)",
     [](SettingsFile& f) {
       MainOptions o = everyMainOption();
       o.fanfare = u"/音/🎺.mid"_s;
       return o.save(f, resolveForTest);
     }},
    {"3D chart", [](SettingsFile& f) { return ChartOptions{401, 602, 33, 44, false, false, false, 5, 25}.save(f); }},
    {"calendar",
     [](SettingsFile& f) {
       return CalendarOptions{70, 80, 640, 480, true}.save(f);
     }},
    {"progress chart",
     [](SettingsFile& f) {
       return ProgressOptions{90, 100, 800, 500, 25, 7, 300, QDate(2026, 1, 2), QDate(2026, 11, 30), true}.save(f);
     }},
};

// Files the save meets: none, one of another program's hands (other keys, names
// in other cases, LF line ends, a comment), one in UTF-8 with a byte-order mark.
const std::pair<const char*, QByteArray> StartingFiles[] = {
    {"no file", {}},
    {"another program's file",
     "; kept\n[form]\nwidth=1\nExtra=x\n[FileSize]\n/rec/a.txt=4600\n[option]\nHITMARK=o\n[Mine]\nKey=1\n"},
    {"UTF-8", "\xEF\xBB\xBF[Option]\r\nOiwaiMessage=é\r\n[Font]\r\nSize=3\r\n"},
};

TEST(SettingsBatch, AWindowsSaveLeavesTheBytesOfItsWritesOneAtATime) {
  for (const auto& [startName, start] : StartingFiles) {
    for (const SaveCase& save : Saves) {
      SCOPED_TRACE(std::string(startName) + ", " + save.name);
      TempDir one, batch;
      if (!start.isNull()) {
        one.write(u"hoko32.ini"_s, start);
        batch.write(u"hoko32.ini"_s, start);
      }
      SettingsFile oneByOne(one.file(u"hoko32.ini"_s));
      SettingsFile together(batch.file(u"hoko32.ini"_s));
      ASSERT_TRUE(save.save(oneByOne));
      FolderWatch watch(batch.path());
      ASSERT_TRUE(together.writeTogether([&] { return save.save(together); }));
      EXPECT_EQ(batch.read(u"hoko32.ini"_s).toStdString(), one.read(u"hoko32.ini"_s).toStdString());
      const FolderWatch::Counts counts = watch.take(u"hoko32.ini"_s);
      EXPECT_EQ(counts.created, 1) << "one temporary copy";
      EXPECT_EQ(counts.renamedInto, 1) << "one rename";
    }
  }
}

// Closing the viewer: the main window's options, every one of them, in one write.
TEST(SettingsBatch, TheViewersSaveIsOneRename) {
  TempDir dir;
  SettingsFile settings(dir.file(u"hoko32.ini"_s));
  RecordingFeedback feedback;
  ViewerSession session(settings, feedback);
  FolderWatch watch(dir.path());
  ASSERT_TRUE(session.saveOptions(everyMainOption(), resolveForTest));
  const FolderWatch::Counts counts = watch.take(u"hoko32.ini"_s);
  EXPECT_EQ(counts.created, 1);
  EXPECT_EQ(counts.renamedInto, 1);
  EXPECT_TRUE(dir.read(u"hoko32.ini"_s).contains("[BestFont]\r\nFontName=F4\r\n"));
  // Unchanged, the next save writes nothing at all.
  ASSERT_TRUE(session.saveOptions(everyMainOption(), resolveForTest));
  EXPECT_EQ(watch.take(u"hoko32.ini"_s).renamedInto, 0);
}

TEST(SettingsBatch, ReadsSeeTheBatchAndARefusedWriteStopsItAsOneAtATime) {
  TempDir dir;
  SettingsFile together(dir.file(u"batch.ini"_s));
  SettingsFile oneByOne(dir.file(u"one.ini"_s));
  const auto writes = [](SettingsFile& f) {
    return f.writeInteger(u"A"_s, u"k"_s, 1) && f.readInteger(u"A"_s, u"k"_s, 0) == 1 &&
           f.writeText(u"A"_s, u"bad=key"_s, u"2"_s) && f.writeInteger(u"A"_s, u"z"_s, 3);
  };
  EXPECT_FALSE(writes(oneByOne));
  EXPECT_FALSE(together.writeTogether([&] { return writes(together); }));
  EXPECT_EQ(dir.read(u"batch.ini"_s), dir.read(u"one.ini"_s));
  EXPECT_EQ(dir.read(u"batch.ini"_s), QByteArray("[A]\r\nk=1\r\n"));
  // The failed batch is over: the next write stands alone.
  EXPECT_TRUE(together.writeInteger(u"A"_s, u"z"_s, 3));
  EXPECT_EQ(dir.read(u"batch.ini"_s), QByteArray("[A]\r\nk=1\r\nz=3\r\n"));
}

// Where the file cannot be written (its folder is a file), the save fails.
TEST(SettingsBatch, AFileThatCannotBeWrittenFailsTheSave) {
  TempDir dir;
  dir.write(u"plain"_s, "x");
  SettingsFile blocked(dir.file(u"plain/hoko32.ini"_s));
  EXPECT_FALSE(blocked.writeTogether([&] { return everyMainOption().save(blocked, resolveForTest); }));
}

}  // namespace
