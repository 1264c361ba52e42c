#include "catalog/read_mdb.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "catalog/mdb_picinfo.h"
#include "platform/native_path.h"
#include "support/file_dates.h"
#include "support/mdb_fixture.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::Make_mdb;
using testing::TempDir;

struct Collected : PictureSink {
  std::vector<PictureRecord> records;
  int stop_after = -1;  // records after which a stop is asked for
  void Add_picture(const PictureRecord& record) override { records.push_back(record); }
  bool Stop_requested() override { return stop_after >= 0 && int(records.size()) >= stop_after; }
};

using testing::MdbRow;
using testing::MdbTableLayout;
using testing::MdbType;

// The seven columns in an order of their own, with one more beside them.
MdbTableLayout Picinfo(const std::string& name, std::vector<MdbRow> rows) {
  return {name,
          {{"DateCreated", MdbType::kDateTime},
           {"ID", MdbType::kLong},
           {"Name", MdbType::kText, 80},
           {"Source", MdbType::kText},
           {"DATA1", MdbType::kText},
           {"DATA2", MdbType::kText},
           {"Description", MdbType::kMemo},
           {"MEMO1", MdbType::kMemo}},
          std::move(rows)};
}

std::vector<MdbTableLayout> One_table(std::vector<MdbRow> rows) {
  return {Picinfo("GA_PicInfo", std::move(rows))};
}

using testing::Set_modified;

TEST(ReadMdb, MapsTheColumnsAndSkipsRowsWithoutSource) {
  TempDir dir;
  std::string picture = dir.Write("pics/a.jpg", "x");
  Set_modified(picture, 2001, 2, 3);
  std::string source = dir.Win("pics/a.jpg");
  std::vector<MdbRow> rows = {
      {{"Source", "C:\\p\\one.jpg"},
       {"Name", "T\u00e9"},
       {"DATA1", "s"},
       {"DATA2", "c"},
       {"Description", "d"},
       {"MEMO1", "au"},
       {"DateCreated", "1998-07-24T13:45:00"},
       {"ID", "1"}},
      {{"Source", std::nullopt}, {"Name", "never"}, {"DateCreated", "1999-01-01"}},
      {{"Source", source}},
      {{"Source", ""}, {"Name", ""}, {"DATA1", ""}, {"DateCreated", "1850-03-01T06:00:00"}},
      {{"Source", "C:\\gone\\x.jpg"}}};
  std::string mdb = Make_mdb(dir, "cat.mdb", One_table(rows));
  Collected sink;
  Status read = Read_mdb(Windows_path(testing::Root_drives(), mdb), sink, testing::Root_drives());
  ASSERT_TRUE(read.ok()) << read.message();
  ASSERT_EQ(sink.records.size(), 4u);
  const PictureRecord& full = sink.records[0];
  EXPECT_EQ(full.SourceFile, "C:\\p\\one.jpg");
  EXPECT_EQ(full.Title, "T\xE9");
  EXPECT_EQ(full.Subject, "s");
  EXPECT_EQ(full.Category, "c");
  EXPECT_EQ(full.Comment, "d");
  EXPECT_EQ(full.Author, "au");
  EXPECT_EQ(full.Date, "July 24, 1998");
  // Nulls everywhere but Source: empty texts, the date from the file.
  EXPECT_EQ(sink.records[1].SourceFile, source);
  EXPECT_EQ(sink.records[1].Title, "");
  EXPECT_EQ(sink.records[1].Comment, "");
  EXPECT_EQ(sink.records[1].Date, "February 3, 2001");
  // An empty Source is not a Null one; dates before 1900 are dates too.
  EXPECT_EQ(sink.records[2].SourceFile, "");
  EXPECT_EQ(sink.records[2].Date, "March 1, 1850");
  // No date in the database and no file to ask: no date.
  EXPECT_EQ(sink.records[3].Date, "");

  // A stop ends the reading at once: its child is killed, what came is kept.
  Collected stopped;
  stopped.stop_after = 1;
  ASSERT_TRUE(
      Read_mdb(Windows_path(testing::Root_drives(), mdb), stopped, testing::Root_drives()).ok());
  EXPECT_EQ(stopped.records.size(), 1u);
}

TEST(ReadMdb, MemosComeThroughWholeWithTheirLineBreaks) {
  TempDir dir;
  std::string long_memo, expected;  // as stored, and as read in Windows-1252
  for (int i = 0; i < 3000; ++i) {
    long_memo += "line " + std::to_string(i) + " \u20ac\r\n";
    expected += "line " + std::to_string(i) + " \x80\r\n";
  }
  std::vector<MdbRow> rows = {
      {{"Source", "a.jpg"}, {"Description", long_memo}, {"MEMO1", "first\r\nsecond \"quoted\""}},
      {{"Source", "b.jpg"}, {"Description", "short"}, {"MEMO1", ""}}};
  std::string mdb = Make_mdb(dir, "memo.mdb", One_table(rows));
  Collected sink;
  Status read = Read_mdb(Windows_path(testing::Root_drives(), mdb), sink, testing::Root_drives());
  ASSERT_TRUE(read.ok()) << read.message();
  ASSERT_EQ(sink.records.size(), 2u);
  EXPECT_GT(sink.records[0].Comment.size(), 16384u);
  EXPECT_TRUE(sink.records[0].Comment == expected);
  EXPECT_EQ(sink.records[0].Author, "first\r\nsecond \"quoted\"");
  EXPECT_EQ(sink.records[1].Comment, "short");
  EXPECT_EQ(sink.records[1].Author, "");
}

TEST(ReadMdb, ReadsHundredsOfRowsInOrderBesideOtherTables) {
  TempDir dir;
  std::vector<MdbRow> rows;
  for (int i = 0; i < 600; ++i)
    rows.push_back({{"Source", "C:\\p\\" + std::to_string(i) + ".jpg"},
                    {"Name", "picture " + std::to_string(i)},
                    {"Description", std::string(i % 97, 'm')}});
  MdbTableLayout other{"Other", {{"Source", MdbType::kText}}, {{{"Source", "C:\\not\\this.jpg"}}}};
  std::string mdb = Make_mdb(
      dir, "many.mdb",
      {other, Picinfo("GA_PicInfo", rows), Picinfo("GA_PicInfo2", {{{"Source", "no.jpg"}}})});
  Collected sink;
  Status read = Read_mdb(Windows_path(testing::Root_drives(), mdb), sink, testing::Root_drives());
  ASSERT_TRUE(read.ok()) << read.message();
  ASSERT_EQ(sink.records.size(), 600u);
  for (int i = 0; i < 600; ++i) {
    EXPECT_EQ(sink.records[i].SourceFile, "C:\\p\\" + std::to_string(i) + ".jpg");
    EXPECT_EQ(sink.records[i].Comment, std::string(i % 97, 'm'));
  }
}

TEST(ReadMdb, TheTableNameMustMatchInLetterCase) {
  TempDir dir;
  std::string mdb = Make_mdb(dir, "case.mdb", {Picinfo("ga_picinfo", {{{"Source", "a.jpg"}}})});
  Collected sink;
  Status read = Read_mdb(Windows_path(testing::Root_drives(), mdb), sink, testing::Root_drives());
  EXPECT_FALSE(read.ok());
  EXPECT_NE(read.message().find("ga_picinfo"), std::string::npos) << read.message();
  EXPECT_TRUE(sink.records.empty());

  std::string none =
      Make_mdb(dir, "none.mdb", {{"Other", {{"Source", MdbType::kText}}, {{{"Source", "a.jpg"}}}}});
  read = Read_mdb(Windows_path(testing::Root_drives(), none), sink, testing::Root_drives());
  EXPECT_EQ(read.message(), "no table named GA_PicInfo: not a PhotoRecall database");
  EXPECT_TRUE(sink.records.empty());
}

TEST(ReadMdb, AMissingColumnIsNamed) {
  TempDir dir;
  std::string mdb = Make_mdb(dir, "cols.mdb",
                             {{"GA_PicInfo",
                               {{"Source", MdbType::kText}, {"Name", MdbType::kText}},
                               {{{"Source", "a.jpg"}, {"Name", "t"}}}}});
  Collected sink;
  Status read = Read_mdb(Windows_path(testing::Root_drives(), mdb), sink, testing::Root_drives());
  EXPECT_EQ(read.message(), "the table GA_PicInfo has no column \"DATA1\"");
  EXPECT_TRUE(sink.records.empty());
}

TEST(ReadMdb, FilesThatAreNoDatabaseGetAClearCause) {
  TempDir dir;
  Collected sink;
  EXPECT_EQ(Read_mdb(dir.Win("missing.mdb"), sink, testing::Root_drives()).message(),
            "the database cannot be opened (No such file or directory)");
  dir.Write("text.mdb", "SourceFile\tTitle\r\nC:\\a.jpg\tx\r\n");
  EXPECT_EQ(Read_mdb(dir.Win("text.mdb"), sink, testing::Root_drives()).message(),
            "not an Access database");
  dir.Write("empty.mdb", "");
  EXPECT_EQ(Read_mdb(dir.Win("empty.mdb"), sink, testing::Root_drives()).message(),
            "not an Access database");
  dir.Make_dir("folder.mdb");
  EXPECT_EQ(Read_mdb(dir.Win("folder.mdb"), sink, testing::Root_drives()).message(),
            "not a database file");
  ASSERT_EQ(mkfifo(dir.Native("pipe.mdb").c_str(), 0600), 0);
  EXPECT_EQ(Read_mdb(dir.Win("pipe.mdb"), sink, testing::Root_drives()).message(),
            "not a database file");
  EXPECT_TRUE(sink.records.empty());
}

std::string Small_database(const TempDir& dir) { return dir.Read("small.mdb"); }

// The cut lengths tried: the header's fields, every page boundary and its
// neighbours, and a stride through the rest; with ZENDREL_EVERY_TRUNCATION
// set, every length (several minutes).
bool Tried(size_t length) {
  static const bool every = std::getenv("ZENDREL_EVERY_TRUNCATION") != nullptr;
  size_t in_page = length % testing::kMdbPageSize;
  return every || length <= 64 || in_page <= 1 || in_page == testing::kMdbPageSize - 1 ||
         length % 211 == 0;
}

// A cut file ends in a message, never a crash, and gives only rows of the
// whole file, in their order.
TEST(ReadMdb, EveryTruncationEndsInAMessage) {
  TempDir dir;
  std::vector<MdbRow> rows = {
      {{"Source", "a.jpg"}, {"Name", "one"}, {"Description", std::string(300, 'x')}},
      {{"Source", "b.jpg"}, {"Name", "two"}},
      {{"Source", "c.jpg"}, {"Name", "three"}, {"DateCreated", "2000-01-02"}}};
  Make_mdb(dir, "small.mdb", One_table(rows));
  std::string whole = Small_database(dir);
  Collected full;
  ASSERT_TRUE(Read_mdb(dir.Win("small.mdb"), full, testing::Root_drives()).ok());
  ASSERT_EQ(full.records.size(), 3u);
  for (size_t length = 0; length < whole.size(); ++length) {
    if (!Tried(length)) continue;
    dir.Write("cut.mdb", whole.substr(0, length));
    Collected sink;
    Status read = Read_mdb(dir.Win("cut.mdb"), sink, testing::Root_drives());
    ASSERT_FALSE(read.ok()) << "length " << length;
    ASSERT_FALSE(read.message().empty());
    ASSERT_LE(sink.records.size(), full.records.size());
    for (size_t i = 0; i < sink.records.size(); ++i)
      ASSERT_EQ(sink.records[i].SourceFile, full.records[i].SourceFile) << "length " << length;
  }
}

TEST(ReadMdb, DamagedPagesEndInAMessageOrInRows) {
  TempDir dir;
  std::vector<MdbRow> rows = {{{"Source", "a.jpg"}, {"Description", std::string(5000, 'x')}},
                              {{"Source", "b.jpg"}}};
  Make_mdb(dir, "small.mdb", One_table(rows));
  std::string whole = Small_database(dir);
  const size_t kPage = testing::kMdbPageSize;
  // An encoding key that the pages were not written with: every page but
  // the first reads as noise.
  std::string keyed = whole;
  keyed[0x3e] ^= 0x5a;
  dir.Write("keyed.mdb", keyed);
  Collected sink;
  Status read = Read_mdb(dir.Win("keyed.mdb"), sink, testing::Root_drives());
  EXPECT_FALSE(read.ok());
  EXPECT_TRUE(sink.records.empty());
  // Bytes overwritten all over the file: whatever libmdb makes of them, the
  // reader comes back.
  unsigned seed = 12345;
  for (int round = 0; round < 40; ++round) {
    std::string damaged = whole;
    for (int i = 0; i < 6; ++i) {
      seed = seed * 1103515245 + 12345;
      size_t at = kPage + (seed >> 8) % (damaged.size() - kPage);
      damaged[at] = char(seed >> 24);
    }
    dir.Write("damaged.mdb", damaged);
    Collected any;
    Read_mdb(dir.Win("damaged.mdb"), any, testing::Root_drives());
    EXPECT_LE(any.records.size(), 2u);
  }
}

// GA_PicInfo's page map named by a row that its page does not hold: libmdb
// 1.0 copies a "row" of a length far past the page and fails (a segmentation
// fault). The program carries on and says what happened.
TEST(ReadMdb, ACrashInsideTheDatabaseLibraryEndsInAMessage) {
  TempDir dir;
  Make_mdb(dir, "small.mdb", One_table({{{"Source", "a.jpg"}, {"Name", "one"}}}));
  std::string damaged = Small_database(dir);
  // The row byte of the page-map pointer in the definition on page 3.
  damaged[3 * testing::kMdbPageSize + 55] = 58;  // the page holds four rows
  dir.Write("crash.mdb", damaged);
  Collected sink;
  Status read = Read_mdb(dir.Win("crash.mdb"), sink, testing::Root_drives());
  EXPECT_EQ(read.message(), "the database is damaged: reading broke off after 0 pictures");
}

TEST(AccessDate, CoversTheRangeOfAccessDates) {
  EXPECT_EQ(Access_date_text(0), "December 30, 1899");
  EXPECT_EQ(Access_date_text(36160.99), "December 31, 1998");
  EXPECT_EQ(Access_date_text(-1.25), "December 29, 1899");
  EXPECT_EQ(Access_date_text(-657434), "January 1, 100");
  EXPECT_EQ(Access_date_text(2958465.5), "December 31, 9999");
  EXPECT_EQ(Access_date_text(2958466), "");
  EXPECT_EQ(Access_date_text(1e300), "");
}

}  // namespace
}  // namespace zendrel
