#include "platform/new_folder.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace zendrel {
namespace {

TEST(MakeFolder, MakesTheNamedFolderWithCharactersOfTheSystemText) {
  testing::TempDir dir;
  ASSERT_TRUE(Make_folder(testing::Root_drives(), dir.Win(), "Holiday 1999").ok());
  ASSERT_TRUE(
      Make_folder(testing::Root_drives(), dir.Win(), "Caf\xE9").ok());  // stored in UTF-8 on disk
  EXPECT_TRUE(dir.Exists("Holiday 1999"));
  EXPECT_TRUE(dir.Exists("Caf\xC3\xA9"));
  ASSERT_TRUE(Make_folder(testing::Root_drives(), dir.Win("Holiday 1999"), "Day 1").ok());
  EXPECT_TRUE(dir.Exists("Holiday 1999/Day 1"));
}

TEST(MakeFolder, RefusesNamesThatCannotBeAFolderAndMakesNothing) {
  testing::TempDir dir;
  const std::string root = dir.Win() + "\\";
  struct Case {
    std::string name, message;
  } cases[] = {
      {"", root + ": a folder needs a name"},
      {"   ", root + "   : a folder needs a name"},
      {".", root + ".: this name stands for an existing directory"},
      {"..", root + "..: this name stands for an existing directory"},
      {"a/b", root + "a/b: a folder name cannot contain / or \\"},
      {"a\\b", root + "a\\b: a folder name cannot contain / or \\"},
      {"a\tb", root + "a\tb: a folder name cannot contain control characters"},
      {std::string(256, 'x'),
       root + std::string(256, 'x') + ": the name is longer than the file system allows"},
      // 128 letters of two bytes each in UTF-8: 256 bytes on disk.
      {std::string(128, '\xE9'),
       root + std::string(128, '\xE9') + ": the name is longer than the file system allows"},
  };
  for (const Case& c : cases) {
    Status made = Make_folder(testing::Root_drives(), dir.Win(), c.name);
    ASSERT_FALSE(made.ok()) << c.name;
    EXPECT_EQ(made.message(), c.message);
  }
  EXPECT_TRUE(Make_folder(testing::Root_drives(), dir.Win(), std::string(255, 'x')).ok());
}

TEST(MakeFolder, RefusesAnExistingEntryAndAMissingParent) {
  testing::TempDir dir;
  dir.Make_dir("Photos");
  dir.Write("notes.txt", "keep");
  Status again =
      Make_folder(testing::Root_drives(), dir.Win(), "photos");  // names are matched without case
  ASSERT_FALSE(again.ok());
  EXPECT_EQ(again.message(), dir.Win("photos") + ": a file or folder of this name exists");
  EXPECT_FALSE(Make_folder(testing::Root_drives(), dir.Win(), "notes.txt").ok());
  EXPECT_EQ(dir.Read("notes.txt"), "keep");
  Status missing = Make_folder(testing::Root_drives(), dir.Win("gone"), "new");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.message(), dir.Win("gone") + ": no such directory");
  EXPECT_FALSE(dir.Exists("gone"));
}

}  // namespace
}  // namespace zendrel
