// Paths taken apart and spelled by the rules of Linux and of Windows, both on
// either system; NativePathSystemTest_*.cpp checks which rules this build has.
#include "platform/NativePath.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Split {
  QString path;
  qsizetype last;  // the last separator, -1 for none
  QString folder;  // in the program's spelling
  QString name;
};

void expectSplits(const std::initializer_list<Split>& cases, NativePath::Rules rules) {
  for (const Split& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    EXPECT_EQ(NativePath::lastSeparator(c.path, rules), c.last);
    EXPECT_EQ(NativePath::folderPart(c.path, rules), c.folder);
    EXPECT_EQ(NativePath::namePart(c.path, rules), c.name);
    // Folder and name give the path back, in the program's spelling.
    EXPECT_EQ(c.folder + c.name, NativePath::fromNative(c.path, rules));
  }
}

struct Spelling {
  QString given;
  QString inside;  // fromNative
  QString shown;   // toNative
};

void expectSpellings(const std::initializer_list<Spelling>& cases, NativePath::Rules rules) {
  for (const Spelling& c : cases) {
    SCOPED_TRACE(c.given.toStdString());
    EXPECT_EQ(NativePath::fromNative(c.given, rules), c.inside);
    EXPECT_EQ(NativePath::toNative(c.given, rules), c.shown);
    // Each spelling leads to the other and back.
    EXPECT_EQ(NativePath::fromNative(NativePath::toNative(c.inside, rules), rules), c.inside);
    EXPECT_EQ(NativePath::toNative(NativePath::fromNative(c.shown, rules), rules), c.shown);
  }
}

}  // namespace

TEST(NativePathTest, WindowsSplitsAtEitherSeparator) {
  expectSplits(
      {
          {u"C:\\Users\\典子\\練習.ｷﾛｸ"_s, 11, u"C:/Users/典子/"_s, u"練習.ｷﾛｸ"_s},
          {u"C:/Users/典子/練習.ｷﾛｸ"_s, 11, u"C:/Users/典子/"_s, u"練習.ｷﾛｸ"_s},
          {u"C:\\Users/典子\\練習.ｷﾛｸ"_s, 11, u"C:/Users/典子/"_s, u"練習.ｷﾛｸ"_s},  // mixed
          {u"\\\\server\\share\\a.ｷﾛｸ"_s, 14, u"//server/share/"_s, u"a.ｷﾛｸ"_s},
          {u"..\\練習.ｷﾛｸ"_s, 2, u"../"_s, u"練習.ｷﾛｸ"_s},
          {u"C:\\"_s, 2, u"C:/"_s, QString()},
          {u"\\"_s, 0, u"/"_s, QString()},
          {u"練習.ｷﾛｸ"_s, -1, QString(), u"練習.ｷﾛｸ"_s},
          {u"C:練習.ｷﾛｸ"_s, -1, QString(), u"C:練習.ｷﾛｸ"_s},  // a drive's own folder: no separator
          {QString(), -1, QString(), QString()},
      },
      NativePath::Windows);
}

TEST(NativePathTest, LinuxSplitsAtSlashesAlone) {
  expectSplits(
      {
          {u"/home/典子/練習.ｷﾛｸ"_s, 8, u"/home/典子/"_s, u"練習.ｷﾛｸ"_s},
          {u"/home/a\\b/c\\練習.ｷﾛｸ"_s, 9, u"/home/a\\b/"_s, u"c\\練習.ｷﾛｸ"_s},  // "\" is part of a name
          {u"C:\\Users\\練習.ｷﾛｸ"_s, -1, QString(), u"C:\\Users\\練習.ｷﾛｸ"_s},
          {u"records/練習.ｷﾛｸ"_s, 7, u"records/"_s, u"練習.ｷﾛｸ"_s},
          {u"/"_s, 0, u"/"_s, QString()},
          {u"練習.ｷﾛｸ"_s, -1, QString(), u"練習.ｷﾛｸ"_s},
          {QString(), -1, QString(), QString()},
      },
      NativePath::Posix);
}

TEST(NativePathTest, WindowsStoresAndShowsBackslashes) {
  expectSpellings(
      {
          {u"C:/Users/典子/"_s, u"C:/Users/典子/"_s, u"C:\\Users\\典子\\"_s},
          {u"C:\\Users\\典子\\"_s, u"C:/Users/典子/"_s, u"C:\\Users\\典子\\"_s},
          {u"C:\\Program Files/hoko32\\ﾌｧﾝﾌｧｰﾚ.mid"_s, u"C:/Program Files/hoko32/ﾌｧﾝﾌｧｰﾚ.mid"_s,
           u"C:\\Program Files\\hoko32\\ﾌｧﾝﾌｧｰﾚ.mid"_s},
          {u"//server/share/"_s, u"//server/share/"_s, u"\\\\server\\share\\"_s},
          {u"練習.ｷﾛｸ"_s, u"練習.ｷﾛｸ"_s, u"練習.ｷﾛｸ"_s},
          {QString(), QString(), QString()},
      },
      NativePath::Windows);
}

TEST(NativePathTest, LinuxLeavesEveryPathAsItIs) {
  expectSpellings(
      {
          {u"/home/典子/"_s, u"/home/典子/"_s, u"/home/典子/"_s},
          {u"/home/a\\b/"_s, u"/home/a\\b/"_s, u"/home/a\\b/"_s},
          {u"C:\\Users\\"_s, u"C:\\Users\\"_s, u"C:\\Users\\"_s},
          {QString(), QString(), QString()},
      },
      NativePath::Posix);
}

TEST(NativePathTest, OnlyWindowsTakesABackslashForASeparator) {
  const struct {
    QChar c;
    bool windows;
    bool posix;
  } cases[] = {
      {u'/', true, true}, {u'\\', true, false}, {u':', false, false}, {u'¥', false, false}, {u'a', false, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(NativePath::isSeparator(c.c, NativePath::Windows), c.windows) << QString(c.c).toStdString();
    EXPECT_EQ(NativePath::isSeparator(c.c, NativePath::Posix), c.posix) << QString(c.c).toStdString();
  }
}
