// zendrel demo: the sample pictures and their catalogue make an archive whose
// every picture has its title, keywords and date, the name outside ASCII too.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "page/archive_page_reader.h"
#include "page/record_table.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

TEST(DemoCommand, EveryPictureComesWithItsDescription) {
  testing::TempDir temp;
  std::ostringstream out, err;
  cli::Streams io{out, err};
  ASSERT_EQ(cli::Run_command_line({"demo", temp.native()}, io), 0) << err.str();
  EXPECT_NE(out.str().find("8 Done!"), std::string::npos) << out.str();
  EXPECT_TRUE(temp.Exists("sample-pictures/pictures.txt"));

  RecordTable table;
  ASSERT_TRUE(Read_archive_page(testing::Root_drives(), temp.Win("archive") + "\\", table).ok());
  ASSERT_EQ(table.Count(), 8);
  bool cafe = false;
  for (int record = 1; record <= table.Count(); ++record) {
    EXPECT_FALSE(table.Record(record).title.empty()) << table.Record(record).source;
    EXPECT_FALSE(table.Record(record).subject.empty()) << table.Record(record).source;
    EXPECT_NE(table.Record(record).picdate.find(", 200"), std::string::npos)
        << table.Record(record).picdate;
    if (table.Record(record).source == "Caf\xE9.jpg") {
      cafe = true;
      EXPECT_EQ(table.Record(record).title, "View from the caf\xE9");
    }
  }
  EXPECT_TRUE(cafe);
}

}  // namespace
}  // namespace zendrel
