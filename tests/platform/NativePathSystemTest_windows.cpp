// Windows: a path is split at "\" and "/", and written with "\".
#include <gtest/gtest.h>

#include "platform/NativePath.h"

using namespace Qt::StringLiterals;

TEST(NativePathSystemTest, WindowsSplitsAtBothAndWritesBackslashes) {
  EXPECT_EQ(NativePath::system().written, u'\\');
  EXPECT_TRUE(NativePath::system().backslashSplits);
  const QString given = u"C:\\Users\\典子/練習.ｷﾛｸ"_s;
  EXPECT_EQ(NativePath::folderPart(given), u"C:/Users/典子/"_s);
  EXPECT_EQ(NativePath::namePart(given), u"練習.ｷﾛｸ"_s);
  EXPECT_EQ(NativePath::toNative(given), u"C:\\Users\\典子\\練習.ｷﾛｸ"_s);
  EXPECT_EQ(NativePath::fromNative(given), u"C:/Users/典子/練習.ｷﾛｸ"_s);
}
