#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "page/archive_page_reader.h"
#include "support/archive_page.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::TempDir;

class ArchiveCommands : public ::testing::Test {
 protected:
  void SetUp() override { testing::Write_archive_page(Dir(), testing::Sample_records(3)); }
  std::string Dir() const { return temp.Win() + "\\"; }
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    cli::Streams io{out, err};
    return cli::Run_command_line(args, io);
  }
  RecordTable Reread() {
    RecordTable again;
    EXPECT_TRUE(Read_archive_page(testing::Root_drives(), Dir(), again).ok());
    return again;
  }

  TempDir temp;
  std::ostringstream out, err;
};

TEST_F(ArchiveCommands, RecordsPrintsFieldsOneToTenInUtf8) {
  ArchiveRecord odd = testing::Sample_record(9);
  odd.title = "Caf\xE9\tbar";  // Windows-1252 é, and a tab that must not split the line
  // Quotes and backslashes as written, text read from a picture as it was.
  ArchiveRecord quoted = testing::Sample_record(3);
  quoted.subject = "say \"hi\" back\\slash";
  quoted.comment = "&lt;b&gt; &amp;amp; back&#92;slash &#26085; &amp;#26085;";
  testing::Write_archive_page(Dir(), {testing::Sample_record(1), odd, quoted});
  ASSERT_EQ(Run({"records", temp.native()}), 0) << err.str();
  EXPECT_EQ(out.str(),
            "_ABC001.jpg\t\tC:\\\\Photos\\\\1\tpic1.jpg\tTitle 1\tbeach sea\tHoliday\tComment 1\t"
            "Ann\tDecember 2, 1999\n"
            "_ABC009.jpg\t\tC:\\\\Photos\\\\9\tpic9.jpg\tCaf\xC3\xA9 bar\tbeach sea\tHoliday\t"
            "Comment 9\tAnn\tDecember 10, 1999\n"
            "_ABC003.jpg\t\tC:\\\\Photos\\\\3\tpic3.jpg\tTitle 3\tsay \"hi\" back\\slash\t"
            "Holiday\t<b> &amp; back\\slash \xE6\x97\xA5 &#26085;\tAnn\tDecember 4, 1999\n");
}

TEST_F(ArchiveCommands, RecordsOfAMissingPageFails) {
  TempDir empty;
  EXPECT_EQ(Run({"records", empty.native()}), 1);
  EXPECT_NE(err.str().find("archive.htm: No such file or directory"), std::string::npos);
  EXPECT_EQ(Run({"records"}), 2);
}

TEST_F(ArchiveCommands, EditChangesOnlyTheGivenBoxes) {
  ASSERT_EQ(Run({"edit", temp.native(), "--record", "2", "--title", "Caf\xC3\xA9 \"Bleu\"",
                 "--date", "1999-12-25"}),
            0)
      << err.str();
  RecordTable again = Reread();
  EXPECT_EQ(again.Record(2).title,
            "Caf\xE9 \\x22"
            "Bleu\\x22");
  EXPECT_EQ(again.Record(2).picdate, "December 25, 1999");
  EXPECT_EQ(again.Record(2).comment, "Comment 2");
  EXPECT_EQ(again.Record(1).title, "Title 1");
  EXPECT_TRUE(temp.Exists("archive_bak.htm"));
  EXPECT_TRUE(temp.Exists("archive.txt"));
}

TEST_F(ArchiveCommands, EditWithARefusedDateOrRecordFails) {
  std::string page = temp.Read("archive.htm");
  EXPECT_EQ(Run({"edit", temp.native(), "--record", "2", "--title", "x", "--date", "2201"}), 1);
  EXPECT_EQ(err.str(), "zendrel edit: 2201 is not a valid date\n");
  EXPECT_EQ(Run({"edit", temp.native(), "--record", "4", "--title", "x"}), 1);
  EXPECT_NE(err.str().find("no record 4"), std::string::npos);
  EXPECT_EQ(Run({"edit", temp.native(), "--record", "2x"}), 1);
  EXPECT_EQ(Run({"edit", temp.native(), "--title", "x"}), 2);
  EXPECT_EQ(temp.Read("archive.htm"), page);
  EXPECT_FALSE(temp.Exists("archive_bak.htm"));
}

TEST_F(ArchiveCommands, DeleteNeedsYesAndThenRemovesTheRecord) {
  EXPECT_EQ(Run({"delete", temp.native(), "--record", "1"}), 2);
  EXPECT_EQ(Reread().Count(), 3);
  ASSERT_EQ(Run({"delete", temp.native(), "--record", "1", "--yes"}), 0) << err.str();
  EXPECT_EQ(out.str(), "zendrel delete: Please reload the web page.\n");
  RecordTable again = Reread();
  EXPECT_EQ(again.Count(), 2);
  EXPECT_EQ(again.Record(1).title, "Title 2");
  EXPECT_EQ(Run({"delete", temp.native(), "--record", "3", "--yes"}), 1);
}

}  // namespace
}  // namespace zendrel
