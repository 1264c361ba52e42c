#include "platform/drive_table.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

TEST(DriveTable, MapsLettersBothWays) {
  DriveTable table;
  table.Set('C', "/");
  table.Set('d', "/mnt/cd/", "PHOTOS99");
  EXPECT_EQ(table.Native_of("C:\\Photos\\a.jpg"), "/Photos/a.jpg");
  EXPECT_EQ(table.Native_of("d:\\1999\\a.jpg"), "/mnt/cd/1999/a.jpg");
  EXPECT_EQ(table.Native_of("\\a.jpg"), "/a.jpg");  // no drive: the current one, C:
  EXPECT_FALSE(table.Native_of("Q:\\a.jpg").has_value());
  EXPECT_EQ(table.Windows_of("/mnt/cd/1999"), "D:\\1999");
  EXPECT_EQ(table.Windows_of("/mnt/cd"), "D:\\");
  EXPECT_EQ(table.Windows_of("/mnt/cdrom"), "C:\\mnt\\cdrom");
  EXPECT_EQ(table.Windows_of("/home/Caf\xC3\xA9"), "C:\\home\\Caf\xE9");
  ASSERT_NE(table.Find_label("PHOTOS99"), nullptr);
  EXPECT_EQ(table.Find_label("PHOTOS99")->letter, 'D');
}

TEST(DriveTable, ParsesDriveOptions) {
  DriveTable table;
  EXPECT_TRUE(table.Set_from_text("E=/data/cd:MY LABEL"));
  EXPECT_TRUE(table.Set_from_text("F=/data/f"));
  EXPECT_FALSE(table.Set_from_text("G=relative/dir"));
  EXPECT_FALSE(table.Set_from_text("E/data"));
  EXPECT_EQ(table.Find('E')->label, "MY LABEL");
  EXPECT_EQ(table.Find('F')->label, "");
}

TEST(NativePath, FindsFilesWithoutRegardToCase) {
  testing::TempDir dir;
  dir.Write("Photos/1999/IMG_1.JPG", "x");
  dir.Write("Photos/Caf\xC3\xA9.jpg", "y");
  dir.Write("Photos/\xE6\x9D\xB1.jpg", "z");
  std::string base = dir.Win();
  EXPECT_TRUE(File_exists(testing::Root_drives(), base + "\\photos\\1999\\img_1.jpg"));
  EXPECT_TRUE(File_exists(testing::Root_drives(), base + "\\PHOTOS\\CAF\xC9.JPG"));
  // A name Windows-1252 cannot hold is listed with a reference and found again.
  std::vector<std::string> names;
  ASSERT_TRUE(List_directory(testing::Root_drives(), base + "\\Photos", "*.jpg",
                             ListFilter::kPlainFiles, &names)
                  .ok());
  EXPECT_EQ(names, (std::vector<std::string>{"&#26481;.jpg", "Caf\xE9.jpg"}));
  std::string read;
  ASSERT_TRUE(Read_whole_file(testing::Root_drives(), base + "\\Photos\\&#26481;.jpg", &read).ok());
  EXPECT_EQ(read, "z");
  // An older catalogue's "?" for a lost character still finds the one name it can be.
  ASSERT_TRUE(Read_whole_file(testing::Root_drives(), base + "\\Photos\\?.jpg", &read).ok());
  EXPECT_EQ(read, "z");
  EXPECT_FALSE(File_exists(testing::Root_drives(), base + "\\Photos\\nothing.jpg"));
}

TEST(NativePath, NamesInEveryScriptAreFoundByTheirOwnName) {
  testing::TempDir dir;
  // Pairs that differ only in a character outside Windows-1252, or only in case.
  const std::vector<std::string> names = {"\xE6\xBC\xA2.jpg",  // 漢
                                          "\xE5\xAD\x97.jpg",  // 字
                                          "\xC5\x81\xC3\xB3"
                                          "d\xC5\xBA.jpg",  // Łódź
                                          "\xC5\x82\xC3\xB3"
                                          "d\xC5\xBA.jpg",                             // łódź
                                          "\xCE\xA3\xCE\xB1.jpg",                      // Σα
                                          "\xCF\x83\xCE\xB1.jpg",                      // σα
                                          "\xD0\x96\xD1\x83\xD0\xBA.jpg",              // Жук
                                          "\xE5\x86\x99\xE7\x9C\x9F\xE9\x9B\x86.jpg",  // 写真集
                                          "?.jpg",
                                          "&#26085;.jpg",
                                          "IMG.jpg",
                                          "img.jpg"};
  for (const std::string& name : names) dir.Write("p/" + name, name);
  std::vector<std::string> listed;
  ASSERT_TRUE(List_directory(testing::Root_drives(), dir.Win("p"), "*.jpg", ListFilter::kPlainFiles,
                             &listed)
                  .ok());
  ASSERT_EQ(listed.size(), names.size());
  for (const std::string& text : listed) {
    std::string read;
    ASSERT_TRUE(Read_whole_file(testing::Root_drives(), dir.Win("p") + "\\" + text, &read).ok())
        << text;
    EXPECT_EQ(Utf8_to_system_text(read), text);  // each file's content is its native name
  }
  // Not there as written and several names would fit: none is taken.
  EXPECT_FALSE(File_exists(testing::Root_drives(), dir.Win("p") + "\\??.jpg"));
}

}  // namespace
}  // namespace zendrel
