#include "platform/ProfileFile.h"

#include "platform/ProfileLock.h"
#include "platform/ShiftJis.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <optional>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes k=v to [A] where it must fail, and checks that nothing changed.
void expectWriteFails(const QString& path, const QString& witness) {
  const QByteArray before = contentsOf(witness);
  ProfileFile file(path);
  EXPECT_FALSE(file.writeString(u"A"_s, u"k"_s, u"v"_s)) << path.toStdString();
  EXPECT_FALSE(file.errorString().isEmpty());
  EXPECT_EQ(contentsOf(witness), before);
}

}  // namespace

TEST(ProfileFileTest, ReadsTheFileEveryTime) {
  TempDir dir;
  ProfileFile file(dir.file(u"hoko32.ini"_s));
  EXPECT_EQ(file.readString(u"A"_s, u"k"_s, u"none"_s), u"none"_s);
  dir.write(u"hoko32.ini"_s, "[A]\r\nk=1\r\n");
  EXPECT_EQ(file.readString(u"A"_s, u"k"_s, u"none"_s), u"1"_s);
  dir.write(u"hoko32.ini"_s, "[A]\r\nk=2\r\n");
  EXPECT_EQ(file.readString(u"A"_s, u"k"_s, u"none"_s), u"2"_s);
}

TEST(ProfileFileTest, CreatesTheFolderAndTheFile) {
  TempDir dir;
  ProfileFile file(dir.file(u"a/b/hoko32.ini"_s));
  ASSERT_TRUE(file.writeString(u"設定"_s, u"k"_s, u"値"_s)) << file.errorString().toStdString();
  EXPECT_EQ(dir.read(u"a/b/hoko32.ini"_s), ShiftJis::encode(u"[設定]\r\nk=値\r\n"_s).value());
  EXPECT_EQ(QDir(dir.file(u"a/b"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{u"hoko32.ini"_s});  // no temporary file left
}

TEST(ProfileFileTest, KeepsAValueOutsideTheCodePageAsUtf8) {
  TempDir dir;
  const QByteArray before = ShiftJis::encode(u"; メモ\r\n[A]\r\nname=山田\r\n"_s).value() + "\x81\x1A";
  ProfileFile file(dir.write(u"hoko32.ini"_s, before));
  ASSERT_TRUE(file.writeString(u"A"_s, u"icon"_s, u"😀"_s));
  EXPECT_EQ(dir.read(u"hoko32.ini"_s), "\xEF\xBB\xBF; メモ\r\n[A]\r\nname=山田\r\nicon=😀\r\n\x81\x1A");
  EXPECT_EQ(file.readString(u"A"_s, u"icon"_s, {}), u"😀"_s);
  EXPECT_EQ(file.readString(u"A"_s, u"name"_s, {}), u"山田"_s);
}

TEST(ProfileFileTest, FailsWithoutChangingAnything) {
  TempDir dir;
  const QString plainFile = dir.write(u"plain"_s, "[A]\nk=old\n");
  expectWriteFails(plainFile + u"/hoko32.ini"_s, plainFile);  // a file where a folder should be
  expectWriteFails(dir.path(), plainFile);                    // a folder where the file should be
  if (QFile::exists(u"/proc/version"_s))
    expectWriteFails(u"/proc/version"_s, u"/proc/version"_s);  // a folder no one may write, not even root

  ProfileFile file(plainFile);
  EXPECT_FALSE(file.writeString(u"A"_s, u"k"_s, u"two\nlines"_s));
  EXPECT_FALSE(file.errorString().isEmpty());
  EXPECT_EQ(dir.read(u"plain"_s), "[A]\nk=old\n");
}

TEST(ProfileFileTest, WriteRemovesTheCopiesThatKilledWritesLeft) {
  TempDir dir;
  const QDateTime longAgo = QDateTime::currentDateTime().addSecs(-3600);
  const struct {
    QString name;
    bool old;
    bool removed;
  } files[] = {
      {u"hoko32.ini.hoko32-tmp.3k9ab01x"_s, true, true},   // a copy left an hour ago
      {u"hoko32.ini.hoko32-tmp.zz81kq2"_s, false, false},  // a copy another write may still rename
      {u"hoko32.ini.backup"_s, true, false},               // the user's own
      {u"other.ini.hoko32-tmp.3k9ab01x"_s, true, false},
  };
  for (const auto& f : files) {
    QFile file(dir.write(f.name, "[A]\r\n"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    if (f.old) {
      ASSERT_TRUE(file.setFileTime(longAgo, QFileDevice::FileModificationTime));
    }
  }
  ProfileFile settings(dir.file(u"hoko32.ini"_s));
  ASSERT_TRUE(settings.writeString(u"A"_s, u"k"_s, u"v"_s));
  for (const auto& f : files) EXPECT_EQ(QFile::exists(dir.file(f.name)), !f.removed) << f.name.toStdString();
}

// Two programs writing the same settings file, each its own keys: no write
// undoes another's.
TEST(ProfileFileTest, WritersOfOneFileTakeTurns) {
  TempDir dir;
  const QString path = dir.file(u"hoko32.ini"_s);
  constexpr int Keys = 60;
  auto writer = [&](const QString& section) {
    ProfileFile file(path);
    for (int i = 0; i < Keys; ++i) file.writeString(section, u"k%1"_s.arg(i), QString::number(i));
  };
  std::thread viewer(writer, u"Viewer"_s);
  writer(u"FileSize"_s);
  viewer.join();
  ProfileFile file(path);
  int found = 0;
  for (const QString& section : {u"Viewer"_s, u"FileSize"_s})
    for (int i = 0; i < Keys; ++i) found += file.readString(section, u"k%1"_s.arg(i), {}) == QString::number(i);
  EXPECT_EQ(found, 2 * Keys);
}

// Another writer stopped before its rename holds the lock: a write that waits
// for it in vain changes nothing, rather than being undone by the rename.
TEST(ProfileFileTest, WriteThatWaitsInVainForTheLockWritesNothing) {
  TempDir dir;
  const QByteArray before = "[FileSize]\r\n/r.x=1000\r\n";
  const QString path = dir.write(u"hoko32.ini"_s, before);
  auto other = std::make_optional<ProfileLock>(path, std::chrono::milliseconds(0));
  ProfileFile file(path);
  file.setLockWait(std::chrono::milliseconds(100));
  // From a thread of its own, as a lock may be held again by the thread that holds it.
  std::thread([&] { EXPECT_FALSE(file.writeString(u"FileSize"_s, u"/r.x"_s, u"0"_s)); }).join();
  EXPECT_FALSE(file.errorString().isEmpty());
  EXPECT_EQ(dir.read(u"hoko32.ini"_s), before);
  other.reset();
  EXPECT_TRUE(file.writeString(u"FileSize"_s, u"/r.x"_s, u"0"_s)) << file.errorString().toStdString();
}
