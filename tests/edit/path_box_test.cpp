#include "edit/path_box.h"

#include <gtest/gtest.h>

namespace zendrel {
namespace {

TEST(PathBox, ShowsSingleBackslashesAndStoresThePagesForm) {
  EXPECT_EQ(Path_for_box("C:\\\\tmp\\\\photos"), "C:\\tmp\\photos");
  EXPECT_EQ(Path_for_box("\\\\\\\\server\\\\share"), "\\\\server\\share");
  EXPECT_EQ(Path_from_box("D:\\new place", "C:\\\\tmp"), "D:\\\\new place");
  EXPECT_EQ(Path_from_box("D:\\\"x\"", "C:\\\\tmp"), "D:\\\\\\x22x\\x22");
  EXPECT_EQ(Path_from_box("", "C:\\\\tmp"), "");
}

TEST(PathBox, AnUnchangedPathGoesBackByteForByte) {
  // Stored forms a reader may meet that doubling would not give back.
  for (const char* stored :
       {"C:\\\\tmp\\\\photos", "C:\\tmp\\photos", "C:\\\\\\odd", "E:\\\\A\\x22B", "", "plain"}) {
    EXPECT_EQ(Path_from_box(Path_for_box(stored), stored), stored) << stored;
  }
}

}  // namespace
}  // namespace zendrel
