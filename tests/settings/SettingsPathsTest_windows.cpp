// The Windows build's settings file: the record folder, the fanfare and the
// stored sizes' keys are written with "\", as every Windows program writes
// paths, and a file written with either separator reads as the same paths.
#include <gtest/gtest.h>

#include "platform/ShiftJis.h"
#include "settings/Options.h"
#include "settings/SettingsFile.h"
#include "settings/StoredSizes.h"
#include "support/TempDir.h"

using namespace Qt::StringLiterals;

namespace {

const StoredSizeStore::RecordFile Record{u"C:/Users/典子/練習.ｷﾛｸ"_s, u"C:\\Users\\典子\\練習.ｷﾛｸ"_s};
const QString Backslashed = u"C:\\Users\\典子\\練習.ｷﾛｸ"_s;
const QString Slashed = u"C:/Users/典子/練習.ｷﾛｸ"_s;

class SettingsPathsTest : public testing::Test {
 protected:
  void writeFile(const QString& text) { dir.write(u"hoko32.ini"_s, ShiftJis::encode(text).value()); }
  std::optional<QString> storedKey(const QString& key) const {
    return file.readValue(u"FileSize"_s, key, SettingsFile::KeyMatch::ExactCase);
  }

  TempDir dir;
  SettingsFile file{dir.file(u"hoko32.ini"_s)};
  const SettingsEnvironment environment{1024, 768, u"C:/Program Files/hoko32/"_s};
};

}  // namespace

TEST_F(SettingsPathsTest, TheFolderAndTheFanfareReadTheSameWithEitherSeparator) {
  for (const QString& separator : {u"\\"_s, u"/"_s}) {
    writeFile(
        u"[Option]\r\nFanfare=D:%1音%1ﾌｧﾝﾌｧｰﾚ.mid\r\n[File]\r\nPath=C:%1Users%1典子%1\r\nRecFile=練習.ｷﾛｸ\r\n"_s.arg(
            separator));
    const MainOptions read = MainOptions::load(file, environment);
    EXPECT_EQ(read.path, u"C:/Users/典子/"_s) << separator.toStdString();
    EXPECT_EQ(read.recFile, u"練習.ｷﾛｸ"_s);
    EXPECT_EQ(read.fanfare, u"D:/音/ﾌｧﾝﾌｧｰﾚ.mid"_s) << separator.toStdString();
  }
}

TEST_F(SettingsPathsTest, TheFolderAndTheFanfareAreWrittenWithBackslashes) {
  MainOptions options = MainOptions::defaults(environment);
  options.path = u"C:/Users/典子/"_s;
  ASSERT_TRUE(options.save(file, [](SettingsColor) { return 0u; }));
  EXPECT_EQ(file.readText(u"File"_s, u"Path"_s, {}), u"C:\\Users\\典子\\"_s);
  EXPECT_EQ(file.readText(u"Option"_s, u"Fanfare"_s, {}), u"C:\\Program Files\\hoko32\\ﾌｧﾝﾌｧｰﾚ.mid"_s);
  const MainOptions read = MainOptions::load(file, environment);
  EXPECT_EQ(read.path, options.path);
  EXPECT_EQ(read.fanfare, options.fanfare);
}

TEST_F(SettingsPathsTest, AStoredSizeIsFoundUnderEitherSpellingOfItsPath) {
  const struct {
    QString keys;  // the section's lines
    std::int64_t size;
    bool rewrite;
  } cases[] = {
      {Backslashed + u"=4600"_s, 4600, false},  // as this build and earlier programs write it
      {Slashed + u"=4600"_s, 4600, true},       // as earlier Windows builds wrote it
      {Backslashed + u"=4600\r\n"_s + Slashed + u"=4600"_s, 4600, false},
      {Backslashed + u"=4600\r\n"_s + Slashed + u"=92"_s, 0, true},  // one of them is wrong
      {u"C:\\Users\\典子\\other.ｷﾛｸ=4600"_s, 0, false},
  };
  for (const auto& c : cases) {
    writeFile(u"[FileSize]\r\n"_s + c.keys + u"\r\n"_s);
    const StoredSizeStore::Stored stored = file.readStoredSize(Record);
    EXPECT_EQ(stored.size, c.size) << c.keys.toStdString();
    EXPECT_EQ(stored.rewrite, c.rewrite) << c.keys.toStdString();
  }
}

TEST_F(SettingsPathsTest, AStoredSizeIsWrittenUnderTheBackslashedPathAlone) {
  EXPECT_EQ(StoredSizes::keyFor(Record.canonicalPath), Backslashed);
  EXPECT_EQ(StoredSizes::keyFor(u"//server/share/練習.ｷﾛｸ"_s), u"\\\\server\\share\\練習.ｷﾛｸ"_s);
  EXPECT_EQ(StoredSizes::keyFor(u"C:/My Records/練習.ｷﾛｸ "_s), u"%C:\\My%20Records\\練習.ｷﾛｸ%20"_s);
  writeFile(u"[FileSize]\r\n"_s + Slashed + u"=4600\r\n"_s);
  ASSERT_TRUE(file.writeStoredSize(Record, 9200));
  EXPECT_EQ(storedKey(Backslashed), u"9200"_s);
  EXPECT_FALSE(storedKey(Slashed).has_value());
}
