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
  Status Read() { return Read_archive_page(testing::Root_drives(), Dir(), table); }
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
    ArchiveRecord expected = testing::Sample_record(r);
    EXPECT_EQ(table.Record(r), expected) << r;
  }
  EXPECT_EQ(table.Record(1).path, "C:\\\\Photos\\\\1");  // doubled backslashes kept
  EXPECT_EQ(table.Record(1).file, "");
}

TEST_F(ArchivePageReader, FollowsTheReadingRuleAtItsEdges) {
  table.Change(7)->thumb = ("left over from an earlier read");
  Write_page(
      "<html>\r\n"
      " cat.add (new Pic (\"no\", \"\",\r\n"  // not at the line's start
      "Cat.add (new Pic (\"no\", \"\",\r\n"   // other letter case
      "cat.add (new Pic (\"a\", \"\",\r\n  \"p\", \"s\",\r\n  \"say \"hi\", \"x\",\r\n"
      "  \"c\", \"m\",\r\n  \"au\", \"d\"));\n"  // a quote shifts later values
      "cat.add (new Pic (\"b\", \"f\",\r\n  \"p2\", \"s2\",\r\n  \"\", \"\",\r\n  \"\", \"\",\r\n"
      "  \"\", \"\"));\r\n\r\nvar pickedItem;\r\n");
  ASSERT_TRUE(Read().ok());
  EXPECT_EQ(table.Count(), 2);
  EXPECT_EQ(table.Record(1).thumb, "a");
  EXPECT_EQ(table.Record(1).title, "say ");
  EXPECT_EQ(table.Record(1).subject, ", ");
  EXPECT_EQ(table.Record(1).category, ",  ");  // every later value moves one field on
  EXPECT_EQ(table.Record(2).file, "f");
  EXPECT_EQ(table.Record(2).source, "s2");
  EXPECT_EQ(table.Record(2).title, "");
  EXPECT_EQ(table.Record(7).thumb, "");  // each read starts from an empty table
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

TEST_F(ArchivePageReader, ManyAndLongRecordsReadBackAsWritten) {
  // Beyond the old fixed limits of 10,000 records and 32,767 characters.
  std::vector<ArchiveRecord> records = testing::Sample_records(10'005);
  std::string long_value(40'000, 'x');
  records[9] = {"_LONG000.jpg", long_value, long_value, long_value, long_value,
                long_value,     long_value, long_value, long_value, long_value};
  testing::Write_archive_page(Dir(), records);
  ASSERT_TRUE(Read().ok());
  EXPECT_EQ(table.Count(), 10'005);
  EXPECT_EQ(table.Record(10).title, std::string(40'000, 'x'));
  EXPECT_EQ(table.Record(10'005).thumb, records.back().thumb);
}

TEST_F(ArchivePageReader, DamagedPageIsRefusedWithTheRecordAndTheCause) {
  std::string record =
      "cat.add (new Pic (\"t\", \"\",\r\n  \"\", \"\",\r\n  \"\", \"\",\r\n"
      "  \"\", \"\",\r\n  \"\", \"\"));\r\n";
  std::string tail = "\r\nvar pickedItem;\r\n</script>\r\n";
  struct Case {
    std::string page, cause;
    int records_before;
  } cases[] = {
      {record + record.substr(0, 40), "record 2, as the page ends inside it", 1},
      {record + record + record, "record 3, as the page ends before its tail", 3},
      {record + record.substr(0, 39) + record + tail,
       "record 2, as the next record begins inside it", 1},
      {record +
           "cat.add (new Pic (\"\", \"\",\r\n  \"\", \"\",\r\n  \"\", \"\",\r\n"
           "  \"\", \"\",\r\n  \"\", \"\"));\r\n" +
           record + tail,
       "record 2, as it has no thumbnail name", 1},
      {record +
           "cat.add (\"1\"\"2\"\"3\"\"4\"\"5\"\"6\"\"7\"\"8\"\"9\"\"10\"\"11\"\r\n\r\n\r\n\r\n" +
           tail,
       "record 2, as it has more than ten values", 1},
      {record + "cat.add (\"1\", \"2\");\r\n\r\n\r\n\r\n" + tail, "record 2, as it is not complete",
       1},
      {record + tail + record, "record 2, which stands after the page's tail", 1},
  };
  for (const Case& c : cases) {
    Write_page(c.page);
    Status read = Read();
    ASSERT_FALSE(read.ok()) << c.cause;
    EXPECT_EQ(read.message(),
              Dir() + "archive.htm: the page is damaged: reading stopped at " + c.cause)
        << c.cause;
    EXPECT_EQ(table.Count(), c.records_before) << c.cause;
  }
}

TEST_F(ArchivePageReader, EveryTruncationOfAPageIsRefusedUntilItsTailBegins) {
  testing::Write_archive_page(Dir(), testing::Sample_records(3));
  std::string page = temp.Read("archive.htm");
  const std::string kTailStart = "var pickedItem;";
  size_t whole_from = page.find(kTailStart) + kTailStart.size();
  int last_count = 0;
  RecordTable cut;
  for (size_t size = 0; size <= page.size(); ++size) {
    cut.Clear();
    Status read = Read_page_records(page.substr(0, size), "archive.htm", cut);
    ASSERT_EQ(read.ok(), size >= whole_from) << size << " " << read.message();
    if (!read.ok()) {
      ASSERT_NE(read.message().find("damaged"), std::string::npos);
    }
    ASSERT_GE(cut.Count(), last_count) << size;  // a longer prefix never loses a record
    last_count = cut.Count();
    for (int r = 1; r <= cut.Count(); ++r) {  // what was read is whole
      ArchiveRecord whole = testing::Sample_record(r);
      ASSERT_EQ(cut.Record(r), whole) << size;
    }
  }
  EXPECT_EQ(last_count, 3);
}

}  // namespace
TEST(ArchiveRecordFields, FollowTheRecordLineOrder) {
  ArchiveRecord r = testing::Sample_record(2);
  std::string joined;
  for (const std::string& line : Record_lines(r)) joined += line;
  EXPECT_EQ(Archive_record(Split_record_text(joined)), r);
  ArchiveRecord cut = Archive_record({"a", "b"});  // a record cut short: the rest empty
  EXPECT_EQ(cut.file, "b");
  EXPECT_EQ(cut.path, "");

  RecordTable table;  // numbered from 1; a change past the end makes the records between
  table.Change(3)->thumb = "_c.jpg";
  EXPECT_EQ(table.Count(), 0);
  EXPECT_EQ(table.Change(0), nullptr);
  table.Change(1)->thumb = "_a.jpg";
  table.Change(2)->thumb = "_b.jpg";
  table.Erase(1);
  EXPECT_EQ(table.Count(), 2);
  EXPECT_EQ(table.Record(2).thumb, "_c.jpg");
  EXPECT_EQ(table.Record(7).thumb, "");
}

}  // namespace zendrel
