#include "page/archive_page_reader.h"

#include <gtest/gtest.h>

#include "support/archive_page.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::TempDir;

class ArchivePageReader : public ::testing::Test {
 protected:
  std::string Dir() const { return temp.Win() + "\\"; }
  Status Read() { return Read_archive_page(Dir(), table); }
  void Write_page(const std::string& bytes) { temp.Write("archive.htm", bytes); }

  TempDir temp;
  RecordTable table;
};

TEST_F(ArchivePageReader, ReadsEveryRecordOfABuiltPageAsStored) {
  testing::Write_archive_page(Dir(), testing::Sample_records(3));
  ASSERT_TRUE(Read().ok());
  EXPECT_EQ(table.Count(), 3);
  EXPECT_EQ(table.directory(), Dir());
  for (int r = 1; r <= 3; ++r) {
    RecordValues expected = testing::Sample_record(r);
    for (int f = 1; f <= 10; ++f) EXPECT_EQ(table.Get(r, f), expected[f - 1]) << r << "," << f;
  }
  EXPECT_EQ(table.Get(1, 3), "C:\\\\Photos\\\\1");  // doubled backslashes kept
  EXPECT_EQ(table.Get(1, 2), "");
}

TEST_F(ArchivePageReader, FollowsTheReadingRuleAtItsEdges) {
  table.Set(7, 1, "left over from an earlier read");
  Write_page(
      "<html>\r\n"
      " cat.add (new Pic (\"no\", \"\",\r\n"  // not at the line's start
      "Cat.add (new Pic (\"no\", \"\",\r\n"   // other letter case
      "cat.add (new Pic (\"a\", \"\",\r\n  \"p\", \"s\",\r\n  \"say \"hi\", \"x\",\r\n"
      "  \"c\", \"m\",\r\n  \"au\", \"d\"));\n"                     // a quote shifts later values
      "cat.add (new Pic (\"b\", \"f\",\r\n  \"p2\", \"s2\",\r\n");  // cut short: page ends
  ASSERT_TRUE(Read().ok());
  EXPECT_EQ(table.Count(), 2);
  EXPECT_EQ(table.Get(1, 1), "a");
  EXPECT_EQ(table.Get(1, 5), "say ");
  EXPECT_EQ(table.Get(1, 6), ", ");
  EXPECT_EQ(table.Get(1, 7), ",  ");  // every later value moves one field on
  EXPECT_EQ(table.Get(2, 2), "f");
  EXPECT_EQ(table.Get(2, 4), "s2");
  EXPECT_EQ(table.Get(2, 5), "");
  EXPECT_EQ(table.Get(7, 1), "");  // each read starts from an empty table
}

TEST_F(ArchivePageReader, PageWithoutRecordsLeavesTheTableEmpty) {
  testing::Write_archive_page(Dir(), {});
  ASSERT_TRUE(Read().ok());
  EXPECT_EQ(table.Count(), 0);
}

TEST_F(ArchivePageReader, MissingOrUnreadablePageNamesThePageAndTheCause) {
  Status missing = Read();
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.message(), Dir() + "archive.htm: No such file or directory");

  temp.Make_dir("archive.htm");
  Status directory = Read();
  ASSERT_FALSE(directory.ok());
  EXPECT_NE(directory.message().find("archive.htm: "), std::string::npos);
}

TEST_F(ArchivePageReader, LimitsEndTheReadWithTheRecordsSoFar) {
  std::string record =
      "cat.add (new Pic (\"t\", \"\",\r\n  \"\", \"\",\r\n  \"\", \"\",\r\n"
      "  \"\", \"\",\r\n  \"\", \"\"));\r\n";
  std::string page;
  for (int i = 0; i < 10001; ++i) page += record;
  Write_page(page);
  Status too_many = Read();
  ASSERT_FALSE(too_many.ok());
  EXPECT_NE(too_many.message().find("archive.htm: more than 10000 records"), std::string::npos);
  EXPECT_EQ(table.Count(), 10000);

  Write_page(record + "cat.add (\"1\"\"2\"\"3\"\"4\"\"5\"\"6\"\"7\"\"8\"\"9\"\"10\"\"11\"\r\n");
  Status eleven = Read();
  ASSERT_FALSE(eleven.ok());
  EXPECT_NE(eleven.message().find("record 2 has more than ten values"), std::string::npos);
  EXPECT_EQ(table.Count(), 1);

  Write_page("cat.add (\"" + std::string(32760, 'x') + "\",\r\n\"12345\"\r\n");
  Status long_text = Read();
  ASSERT_FALSE(long_text.ok());
  EXPECT_NE(long_text.message().find("record 1 is longer than 32767 characters"),
            std::string::npos);
}

TEST_F(ArchivePageReader, EveryTruncationOfAPageReadsCleanly) {
  testing::Write_archive_page(Dir(), testing::Sample_records(3));
  std::string page = temp.Read("archive.htm");
  int last_count = 0;
  RecordTable cut;
  for (size_t size = 0; size <= page.size(); ++size) {
    for (int r = 1; r <= 4; ++r) {  // cheaper than a fresh table for each size
      for (int f = 1; f <= 10; ++f) cut.Set(r, f, "");
    }
    ASSERT_TRUE(Read_page_records(page.substr(0, size), "archive.htm", cut).ok()) << size;
    ASSERT_GE(cut.Count(), last_count) << size;  // a longer prefix never loses a record
    last_count = cut.Count();
    for (int r = 1; r < cut.Count(); ++r) {  // records followed by another are whole
      RecordValues whole = testing::Sample_record(r);
      for (int f = 1; f <= 10; ++f) ASSERT_EQ(cut.Get(r, f), whole[f - 1]) << size;
    }
  }
  EXPECT_EQ(last_count, 3);
}

}  // namespace
}  // namespace zendrel
