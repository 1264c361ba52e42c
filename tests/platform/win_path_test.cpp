#include "platform/win_path.h"

#include <gtest/gtest.h>

namespace zendrel {
namespace {

TEST(AddBackslash, JoinsDirectoriesAndKeepsRoots) {
  EXPECT_EQ(Add_backslash("C:\\photos"), "C:\\photos\\");
  EXPECT_EQ(Add_backslash("C:\\"), "C:\\");
  EXPECT_EQ(Add_backslash(""), "\\");
}

TEST(PathParts, SplitAtTheLastBackslash) {
  EXPECT_EQ(Directory_part("C:\\a\\b.jpg"), "C:\\a");
  EXPECT_EQ(File_part("C:\\a\\b.jpg"), "b.jpg");
  EXPECT_EQ(Directory_part("b.jpg"), "");
  EXPECT_EQ(File_part("b.jpg"), "b.jpg");
}

TEST(Pattern, MatchesWithoutRegardToCase) {
  EXPECT_TRUE(Matches_pattern("IMG_1.JPG", "*.jpg"));
  EXPECT_TRUE(Matches_pattern("a.Jpg", "*.jpg"));
  EXPECT_FALSE(Matches_pattern("a.jpeg", "*.jpg"));
  EXPECT_TRUE(Matches_pattern("\xC9t\xE9.jpg", "\xE9t\xC9.JPG"));  // Été / éTÉ
}

}  // namespace
}  // namespace zendrel
