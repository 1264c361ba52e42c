#include "platform/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "platform/catalogue_file.h"
#include "platform/dates.h"
#include "platform/output_file.h"
#include "support/other_writer.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

TEST(ListDirectory, MatchesWithoutCaseAndFiltersKinds) {
  testing::TempDir dir;
  dir.Write("IMG_1.JPG", "a");
  dir.Write("b.jpg", "b");
  dir.Write(".hidden.jpg", "c");
  dir.Write("notes.txt", "d");
  dir.Make_dir("sub.jpg");
  dir.Make_dir(".git");
  std::vector<std::string> files, dirs;
  dir.Write("a.JPG", "e");
  dir.Write("Z.jpg", "f");
  ASSERT_TRUE(
      List_directory(testing::Root_drives(), dir.Win(), "*.jpg", ListFilter::kPlainFiles, &files)
          .ok());
  // In name order without regard to case, whatever order the disk keeps.
  EXPECT_EQ(files, (std::vector<std::string>{"a.JPG", "b.jpg", "IMG_1.JPG", "Z.jpg"}));
  ASSERT_TRUE(
      List_directory(testing::Root_drives(), dir.Win(), "*", ListFilter::kDirectories, &dirs).ok());
  EXPECT_EQ(dirs, (std::vector<std::string>{"sub.jpg"}));
  EXPECT_FALSE(List_directory(testing::Root_drives(), dir.Win("missing"), "*",
                              ListFilter::kPlainFiles, &files)
                   .ok());
}

TEST(FileOperations, CopyRenameDeleteAndTimes) {
  testing::TempDir dir;
  dir.Write("a.jpg", "original");
  dir.Write("b.jpg", "old");
  ASSERT_TRUE(Copy_file(testing::Root_drives(), dir.Win("a.jpg"), dir.Win("b.jpg")).ok());
  EXPECT_EQ(dir.Read("b.jpg"), "original");
  ASSERT_TRUE(Rename_file(testing::Root_drives(), dir.Win("b.jpg"), dir.Win("c.jpg")).ok());
  EXPECT_FALSE(dir.Exists("b.jpg"));
  ASSERT_TRUE(Delete_file(testing::Root_drives(), dir.Win("c.jpg")).ok());
  EXPECT_FALSE(dir.Exists("c.jpg"));
  Status missing = Copy_file(testing::Root_drives(), dir.Win("none.jpg"), dir.Win("d.jpg"));
  EXPECT_FALSE(missing.ok());
  EXPECT_NE(missing.message().find("none.jpg"), std::string::npos);
  auto time = Modified_time(testing::Root_drives(), dir.Win("a.jpg"));
  ASSERT_TRUE(time.has_value());
  EXPECT_EQ(Stamp_text(*time).size(), 14u);
}

TEST(FileOperations, ACopyOntoItselfOrAnotherCaseLosesNothing) {
  testing::TempDir dir;
  dir.Write("IMG_1.JPG", "the only copy");
  // The target is written under exactly its name, never found by a lookup;
  // through a temporary, a copy onto the source itself keeps its bytes.
  EXPECT_TRUE(Copy_file(testing::Root_drives(), dir.Win("IMG_1.JPG"), dir.Win("IMG_1.jpg")).ok());
  EXPECT_TRUE(Copy_file(testing::Root_drives(), dir.Win("IMG_1.JPG"), dir.Win("IMG_1.JPG")).ok());
  EXPECT_EQ(dir.Read("IMG_1.JPG"), "the only copy");
  EXPECT_EQ(dir.Read("IMG_1.jpg"), "the only copy");
  EXPECT_FALSE(dir.Has_temporaries());
}

TEST(Dates, EnglishLongDatesAndStamps) {
  std::tm t{};
  t.tm_year = 99;
  t.tm_mon = 10;
  t.tm_mday = 3;
  t.tm_hour = 7;
  t.tm_min = 5;
  t.tm_sec = 9;
  EXPECT_EQ(Long_date_text(t), "November 3, 1999");
  EXPECT_EQ(Stamp_text(t), "19991103070509");
}

TEST(CatalogueFile, TellsAFileInUseFromAMissingOne) {
  testing::TempDir dir;
  dir.Write("list.txt", "line\r\n");
  testing::OtherWriter other(dir.Native("list.txt"));  // holds it open for writing
  CatalogueFile file;
  EXPECT_EQ(file.Open(testing::Root_drives(), dir.Win("list.txt")), CatalogueFile::Result::kInUse);
  EXPECT_FALSE(file.is_open());
  other.Release();
  EXPECT_EQ(file.Open(testing::Root_drives(), dir.Win("list.txt")), CatalogueFile::Result::kOpened);
  EXPECT_EQ(file.bytes(), "line\r\n");
  EXPECT_EQ(file.Open(testing::Root_drives(), dir.Win("none.txt")), CatalogueFile::Result::kFailed);
  EXPECT_EQ(file.error_number(), ENOENT);
}

TEST(OutputFile, ReplacesTheTargetOnlyWhenComplete) {
  testing::TempDir dir;
  dir.Write("archive.htm", "previous");
  {
    OutputFile out;
    ASSERT_TRUE(out.Open(testing::Root_drives(), dir.Win("archive.htm")).ok());
    out.Write_line("new");
    // Dropped without Commit: the previous file stays.
  }
  EXPECT_EQ(dir.Read("archive.htm"), "previous");
  EXPECT_FALSE(dir.Has_temporaries(""));

  Fail_writes_after_bytes_for_testing(3);
  OutputFile full;
  ASSERT_TRUE(full.Open(testing::Root_drives(), dir.Win("archive.htm")).ok());
  full.Write_line("too long");
  EXPECT_FALSE(full.Commit().ok());
  Fail_writes_after_bytes_for_testing(-1);
  EXPECT_EQ(dir.Read("archive.htm"), "previous");

  OutputFile good;
  ASSERT_TRUE(good.Open(testing::Root_drives(), dir.Win("archive.htm")).ok());
  good.Write_line("one");
  ASSERT_TRUE(good.Commit().ok());
  EXPECT_EQ(dir.Read("archive.htm"), "one\r\n");
}

}  // namespace
}  // namespace zendrel
