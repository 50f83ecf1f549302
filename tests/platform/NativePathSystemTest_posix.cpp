// Linux: a path is split at "/" alone and passes unchanged, "\" included.
#include <gtest/gtest.h>

#include "platform/NativePath.h"

using namespace Qt::StringLiterals;

TEST(NativePathSystemTest, LinuxKeepsPathsAsTheyAre) {
  EXPECT_EQ(NativePath::system().written, u'/');
  EXPECT_FALSE(NativePath::system().backslashSplits);
  const QString given = u"/home/a\\b/練習.ｷﾛｸ"_s;
  EXPECT_EQ(NativePath::folderPart(given), u"/home/a\\b/"_s);
  EXPECT_EQ(NativePath::namePart(given), u"練習.ｷﾛｸ"_s);
  EXPECT_EQ(NativePath::toNative(given), given);
  EXPECT_EQ(NativePath::fromNative(given), given);
}
