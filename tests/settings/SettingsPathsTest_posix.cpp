// The Linux build's settings file: paths are stored as they are, and "\" is
// part of a file name, never a separator.
#include <gtest/gtest.h>

#include "settings/Options.h"
#include "settings/SettingsFile.h"
#include "settings/StoredSizes.h"
#include "support/TempDir.h"

using namespace Qt::StringLiterals;

namespace {

class SettingsPathsTest : public testing::Test {
 protected:
  TempDir dir;
  SettingsFile file{dir.file(u"hoko32.ini"_s)};
  const SettingsEnvironment environment{1024, 768, u"/opt/hoko32/"_s};
};

}  // namespace

TEST_F(SettingsPathsTest, PathsAreReadAndWrittenAsTheyAre) {
  for (const QString& folder : {u"/home/典子/"_s, u"/home/a\\b/"_s, u"C:\\Users\\"_s}) {
    ASSERT_TRUE(file.writeText(u"File"_s, u"Path"_s, folder));
    MainOptions options = MainOptions::load(file, environment);
    EXPECT_EQ(options.path, folder) << folder.toStdString();
    ASSERT_TRUE(options.save(file, [](SettingsColor) { return 0u; }));
    EXPECT_EQ(file.readText(u"File"_s, u"Path"_s, {}), folder);
  }
  EXPECT_EQ(file.readText(u"Option"_s, u"Fanfare"_s, {}), u"/opt/hoko32/ﾌｧﾝﾌｧｰﾚ.mid"_s);
}

TEST_F(SettingsPathsTest, AStoredSizeIsKeyedByItsPathAsItIs) {
  const StoredSizeStore::RecordFile backslashed{u"/data/a\\b.ｷﾛｸ"_s, u"/data/a\\b.ｷﾛｸ"_s};
  EXPECT_EQ(StoredSizes::keyFor(backslashed.canonicalPath), backslashed.canonicalPath);
  ASSERT_TRUE(file.writeStoredSize(backslashed, 4600));
  EXPECT_EQ(dir.read(u"hoko32.ini"_s), QByteArray("[FileSize]\r\n/data/a\\b.\xB7\xDB\xB8=4600\r\n"));
  // "\" separates nothing: the same name spelled with "/" is another file.
  const StoredSizeStore::RecordFile slashed{u"/data/a/b.ｷﾛｸ"_s, u"/data/a/b.ｷﾛｸ"_s};
  EXPECT_EQ(file.readStoredSize(slashed).size, 0);
  EXPECT_EQ(file.readStoredSize(backslashed).size, 4600);
}
