#include "build/archive_names.h"

#include <gtest/gtest.h>

#include <set>

#include "support/temp_dir.h"

namespace zendrel {
namespace {

TEST(ArchiveNames, SiblingsFollowInTheAlphabet) {
  struct Case {
    const char* code;
    const char* thumb;
    const char* display;
    const char* copy;
  } cases[] = {{"ABCDEF0", "_ABCDEF0.jpg", "_ABCDEF1.jpg", "_ABCDEF2.jpg"},
               {"ABCDEF8", "_ABCDEF8.jpg", "_ABCDEF9.jpg", "_ABCDEFA.jpg"},
               {"ABCDEFH", "_ABCDEFH.jpg", "_ABCDEFJ.jpg", "_ABCDEFK.jpg"},
               {"ABCDEFR", "_ABCDEFR.jpg", "_ABCDEFS.jpg", "_ABCDEFT.jpg"}};
  for (const Case& c : cases) {
    ArchiveNames names = Names_of_code(c.code);
    EXPECT_EQ(names.thumbnail, c.thumb);
    EXPECT_EQ(names.display, c.display);
    EXPECT_EQ(names.copy, c.copy);
  }
}

TEST(IsNewPicture, RecognisesOnlyPairs) {
  testing::TempDir dir;
  dir.Write("_ABCDEF0.jpg", "t");
  dir.Write("_ABCDEF1.jpg", "d");
  dir.Write("_GHJKLMR.jpg", "lone thumbnail");
  dir.Write("_ABCDEF2.jpg", "copy");
  std::string d = dir.Win();
  EXPECT_FALSE(Is_new_picture(testing::Root_drives(), d, "_ABCDEF0.jpg"));
  EXPECT_FALSE(Is_new_picture(testing::Root_drives(), d, "_ABCDEF1.jpg"));
  EXPECT_TRUE(
      Is_new_picture(testing::Root_drives(), d, "_GHJKLMR.jpg"));  // its display copy is gone
  EXPECT_TRUE(Is_new_picture(testing::Root_drives(), d, "_ABCDEF2.jpg"));  // copies are pictures
  EXPECT_TRUE(Is_new_picture(testing::Root_drives(), d, "ABCDEF0.jpg"));
  EXPECT_TRUE(Is_new_picture(testing::Root_drives(), d + "\\missing", "_ABCDEF0.jpg"));
}

TEST(RunNames, DifferentPicturesNeverShareNames) {
  RunNames names;
  std::string first = names.Code_for("19990101000000a.jpg", "C:\\a\\a.jpg");
  EXPECT_EQ(first, names.Code_for("19990101000000a.jpg", "C:\\a\\a.jpg"));  // same picture
  // The same stamp from another folder collides; it gets a code of its own,
  // the same one in every run that meets the pictures in this order.
  std::string second = names.Code_for("19990101000000a.jpg", "C:\\b\\a.jpg");
  EXPECT_NE(first, second);
  RunNames again;
  again.Code_for("19990101000000a.jpg", "C:\\a\\a.jpg");
  EXPECT_EQ(again.Code_for("19990101000000a.jpg", "C:\\b\\a.jpg"), second);
  std::set<char> groups = {'0', '8', 'H', 'R'};
  EXPECT_TRUE(groups.count(second[6]));
}

}  // namespace
}  // namespace zendrel
