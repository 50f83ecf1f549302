// Paths taken apart and spelled by the rules of Linux and of Windows, both on
// either system; NativePathSystemTest_*.cpp checks which rules this build has.
#include "platform/NativePath.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr auto Windows = NativePath::Windows;
constexpr auto Posix = NativePath::Posix;

}  // namespace

TEST(NativePathTest, WindowsSplitsAtEitherSeparatorLinuxAtSlashesAlone) {
  const struct {
    NativePath::Rules rules;
    QString path;
    qsizetype last;  // the last separator, -1 for none
    QString folder;  // in the program's spelling
    QString name;
  } cases[] = {
      {Windows, u"C:/Users/典子/練習.ｷﾛｸ"_s, 11, u"C:/Users/典子/"_s, u"練習.ｷﾛｸ"_s},
      {Windows, u"C:\\Users/典子\\練習.ｷﾛｸ"_s, 11, u"C:/Users/典子/"_s, u"練習.ｷﾛｸ"_s},  // mixed
      {Windows, u"\\\\server\\share\\a.ｷﾛｸ"_s, 14, u"//server/share/"_s, u"a.ｷﾛｸ"_s},
      {Windows, u"..\\練習.ｷﾛｸ"_s, 2, u"../"_s, u"練習.ｷﾛｸ"_s},
      {Windows, u"C:\\"_s, 2, u"C:/"_s, QString()},
      {Windows, u"\\"_s, 0, u"/"_s, QString()},
      {Windows, u"¥練習.ｷﾛｸ"_s, -1, QString(), u"¥練習.ｷﾛｸ"_s},    // a yen sign is no backslash
      {Windows, u"C:練習.ｷﾛｸ"_s, -1, QString(), u"C:練習.ｷﾛｸ"_s},  // a drive's own folder: no separator
      {Windows, QString(), -1, QString(), QString()},
      {Posix, u"/home/典子/練習.ｷﾛｸ"_s, 8, u"/home/典子/"_s, u"練習.ｷﾛｸ"_s},
      {Posix, u"/home/a\\b/c\\練習.ｷﾛｸ"_s, 9, u"/home/a\\b/"_s, u"c\\練習.ｷﾛｸ"_s},  // "\" is part of a name
      {Posix, u"C:\\Users\\練習.ｷﾛｸ"_s, -1, QString(), u"C:\\Users\\練習.ｷﾛｸ"_s},
      {Posix, u"/"_s, 0, u"/"_s, QString()},
      {Posix, QString(), -1, QString(), QString()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    EXPECT_EQ(NativePath::lastSeparator(c.path, c.rules), c.last);
    EXPECT_EQ(NativePath::folderPart(c.path, c.rules), c.folder);
    EXPECT_EQ(NativePath::namePart(c.path, c.rules), c.name);
    // Folder and name give the path back, in the program's spelling.
    EXPECT_EQ(c.folder + c.name, NativePath::fromNative(c.path, c.rules));
  }
}

// Windows stores paths with "/" and shows them with "\"; Linux leaves every path as it is.
TEST(NativePathTest, EachSystemsSpellings) {
  const struct {
    NativePath::Rules rules;
    QString given;
    QString inside;  // fromNative
    QString shown;   // toNative
  } cases[] = {
      {Windows, u"C:\\Program Files/hoko32\\ﾌｧﾝﾌｧｰﾚ.mid"_s, u"C:/Program Files/hoko32/ﾌｧﾝﾌｧｰﾚ.mid"_s,
       u"C:\\Program Files\\hoko32\\ﾌｧﾝﾌｧｰﾚ.mid"_s},
      {Windows, u"//server/share/"_s, u"//server/share/"_s, u"\\\\server\\share\\"_s},
      {Windows, u"練習.ｷﾛｸ"_s, u"練習.ｷﾛｸ"_s, u"練習.ｷﾛｸ"_s},
      {Windows, QString(), QString(), QString()},
      {Posix, u"/home/a\\b/"_s, u"/home/a\\b/"_s, u"/home/a\\b/"_s},
      {Posix, u"C:\\Users\\"_s, u"C:\\Users\\"_s, u"C:\\Users\\"_s},
      {Posix, QString(), QString(), QString()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given.toStdString());
    EXPECT_EQ(NativePath::fromNative(c.given, c.rules), c.inside);
    EXPECT_EQ(NativePath::toNative(c.given, c.rules), c.shown);
    // Each spelling leads to the other and back.
    EXPECT_EQ(NativePath::fromNative(NativePath::toNative(c.inside, c.rules), c.rules), c.inside);
    EXPECT_EQ(NativePath::toNative(NativePath::fromNative(c.shown, c.rules), c.rules), c.shown);
  }
}
