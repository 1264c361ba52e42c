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
#include "support/mdb_fixture.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::Make_mdb;
using testing::TempDir;

struct Collected : PictureSink {
  std::vector<PictureRecord> records;
  int stop_checks = 0;
  void Add_picture(const PictureRecord& record) override { records.push_back(record); }
  bool Stop_requested() override {
    ++stop_checks;
    return true;  // the reader reads on regardless
  }
};

// The seven columns in an order of their own, with one more beside them.
const char kColumns[] = R"([
  {"name": "DateCreated", "type": "datetime"}, {"name": "ID", "type": "long"},
  {"name": "Name", "type": "text", "size": 80}, {"name": "Source", "type": "text"},
  {"name": "DATA1", "type": "text"}, {"name": "DATA2", "type": "text"},
  {"name": "Description", "type": "memo"}, {"name": "MEMO1", "type": "memo"}])";

std::string Picinfo(const std::string& name, const std::string& rows) {
  return std::string(R"({"name": ")") + name + R"(", "columns": )" + kColumns + R"(, "rows": )" +
         rows + "}";
}

std::string One_table(const std::string& rows) {
  return R"({"tables": [)" + Picinfo("GA_PicInfo", rows) + "]}";
}

void Set_modified(const std::string& native, int year, int month, int day) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = 12;
  local.tm_isdst = -1;
  utimbuf times{std::mktime(&local), std::mktime(&local)};
  ASSERT_EQ(utime(native.c_str(), &times), 0);
}

TEST(ReadMdb, MapsTheColumnsAndSkipsRowsWithoutSource) {
  TempDir dir;
  std::string picture = dir.Write("pics/a.jpg", "x");
  Set_modified(picture, 2001, 2, 3);
  std::string source = dir.Win("pics/a.jpg");
  std::string escaped;
  for (char c : source) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  std::string rows = R"([
    {"Source": "C:\\p\\one.jpg", "Name": "T\u00e9", "DATA1": "s", "DATA2": "c",
     "Description": "d", "MEMO1": "au", "DateCreated": "1998-07-24T13:45:00", "ID": 1},
    {"Source": null, "Name": "never", "DateCreated": "1999-01-01"},
    {"Source": ")" + escaped +
                     R"("},
    {"Source": "", "Name": "", "DATA1": "", "DateCreated": "1850-03-01T06:00:00"},
    {"Source": "C:\\gone\\x.jpg"}])";
  std::string mdb = Make_mdb(dir, "cat.mdb", One_table(rows));
  Collected sink;
  Status read = Read_mdb(Windows_path(mdb), sink);
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
  EXPECT_EQ(sink.stop_checks, 0);
}

TEST(ReadMdb, MemosComeThroughWholeWithTheirLineBreaks) {
  TempDir dir;
  std::string long_memo, expected;  // the JSON text, and what it says
  for (int i = 0; i < 3000; ++i) {
    long_memo += "line " + std::to_string(i) + " \\u20ac\\r\\n";
    expected += "line " + std::to_string(i) + " \x80\r\n";
  }
  std::string rows = R"([{"Source": "a.jpg", "Description": ")" + long_memo +
                     R"(", "MEMO1": "first\r\nsecond \"quoted\""},
      {"Source": "b.jpg", "Description": "short", "MEMO1": ""}])";
  std::string mdb = Make_mdb(dir, "memo.mdb", One_table(rows));
  Collected sink;
  Status read = Read_mdb(Windows_path(mdb), sink);
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
  std::string rows = "[";
  for (int i = 0; i < 600; ++i) {
    if (i) rows += ",";
    rows += R"({"Source": "C:\\p\\)" + std::to_string(i) + R"(.jpg", "Name": "picture )" +
            std::to_string(i) + R"(", "Description": ")" + std::string(i % 97, 'm') + "\"}";
  }
  rows += "]";
  std::string other = R"({"name": "Other", "columns": [{"name": "Source", "type": "text"}],
                          "rows": [["C:\\not\\this.jpg"]]})";
  std::string json = R"({"tables": [)" + other + "," + Picinfo("GA_PicInfo", rows) + "," +
                     Picinfo("GA_PicInfo2", R"([{"Source": "no.jpg"}])") + "]}";
  std::string mdb = Make_mdb(dir, "many.mdb", json);
  Collected sink;
  Status read = Read_mdb(Windows_path(mdb), sink);
  ASSERT_TRUE(read.ok()) << read.message();
  ASSERT_EQ(sink.records.size(), 600u);
  for (int i = 0; i < 600; ++i) {
    EXPECT_EQ(sink.records[i].SourceFile, "C:\\p\\" + std::to_string(i) + ".jpg");
    EXPECT_EQ(sink.records[i].Comment, std::string(i % 97, 'm'));
  }
}

TEST(ReadMdb, TheTableNameMustMatchInLetterCase) {
  TempDir dir;
  std::string mdb =
      Make_mdb(dir, "case.mdb",
               R"({"tables": [)" + Picinfo("ga_picinfo", R"([{"Source": "a.jpg"}])") + "]}");
  Collected sink;
  Status read = Read_mdb(Windows_path(mdb), sink);
  EXPECT_FALSE(read.ok());
  EXPECT_NE(read.message().find("ga_picinfo"), std::string::npos) << read.message();
  EXPECT_TRUE(sink.records.empty());

  std::string none = Make_mdb(dir, "none.mdb", R"({"tables": [{"name": "Other",
      "columns": [{"name": "Source", "type": "text"}], "rows": [["a.jpg"]]}]})");
  read = Read_mdb(Windows_path(none), sink);
  EXPECT_EQ(read.message(), "no table named GA_PicInfo: not a PhotoRecall database");
  EXPECT_TRUE(sink.records.empty());
}

TEST(ReadMdb, AMissingColumnIsNamed) {
  TempDir dir;
  std::string mdb = Make_mdb(dir, "cols.mdb", R"({"tables": [{"name": "GA_PicInfo",
      "columns": [{"name": "Source", "type": "text"}, {"name": "Name", "type": "text"}],
      "rows": [["a.jpg", "t"]]}]})");
  Collected sink;
  Status read = Read_mdb(Windows_path(mdb), sink);
  EXPECT_EQ(read.message(), "the table GA_PicInfo has no column \"DATA1\"");
  EXPECT_TRUE(sink.records.empty());
}

TEST(ReadMdb, FilesThatAreNoDatabaseGetAClearCause) {
  TempDir dir;
  Collected sink;
  EXPECT_EQ(Read_mdb(dir.Win("missing.mdb"), sink).message(),
            "the database cannot be opened (No such file or directory)");
  dir.Write("text.mdb", "SourceFile\tTitle\r\nC:\\a.jpg\tx\r\n");
  EXPECT_EQ(Read_mdb(dir.Win("text.mdb"), sink).message(), "not an Access database");
  dir.Write("empty.mdb", "");
  EXPECT_EQ(Read_mdb(dir.Win("empty.mdb"), sink).message(), "not an Access database");
  dir.Make_dir("folder.mdb");
  EXPECT_EQ(Read_mdb(dir.Win("folder.mdb"), sink).message(), "not a database file");
  ASSERT_EQ(mkfifo(dir.Native("pipe.mdb").c_str(), 0600), 0);
  EXPECT_EQ(Read_mdb(dir.Win("pipe.mdb"), sink).message(), "not a database file");
  EXPECT_TRUE(sink.records.empty());
}

std::string Small_database(const TempDir& dir) { return dir.Read("small.mdb"); }

// The cut lengths tried: the header's fields, every page boundary and its
// neighbours, and a stride through the rest; with ZENDREL_EVERY_TRUNCATION
// set, every length (several minutes).
bool Tried(size_t length) {
  static const bool every = std::getenv("ZENDREL_EVERY_TRUNCATION") != nullptr;
  size_t in_page = length % 2048;
  return every || length <= 64 || in_page <= 1 || in_page == 2047 || length % 211 == 0;
}

// A cut file ends in a message, never a crash, and gives only rows of the
// whole file, in their order.
TEST(ReadMdb, EveryTruncationEndsInAMessage) {
  TempDir dir;
  std::string rows = R"([{"Source": "a.jpg", "Name": "one", "Description": ")" +
                     std::string(300, 'x') + R"("}, {"Source": "b.jpg", "Name": "two"},
                     {"Source": "c.jpg", "Name": "three", "DateCreated": "2000-01-02"}])";
  Make_mdb(dir, "small.mdb", One_table(rows));
  std::string whole = Small_database(dir);
  Collected full;
  ASSERT_TRUE(Read_mdb(dir.Win("small.mdb"), full).ok());
  ASSERT_EQ(full.records.size(), 3u);
  for (size_t length = 0; length < whole.size(); ++length) {
    if (!Tried(length)) continue;
    dir.Write("cut.mdb", whole.substr(0, length));
    Collected sink;
    Status read = Read_mdb(dir.Win("cut.mdb"), sink);
    ASSERT_FALSE(read.ok()) << "length " << length;
    ASSERT_FALSE(read.message().empty());
    ASSERT_LE(sink.records.size(), full.records.size());
    for (size_t i = 0; i < sink.records.size(); ++i)
      ASSERT_EQ(sink.records[i].SourceFile, full.records[i].SourceFile) << "length " << length;
  }
}

TEST(ReadMdb, DamagedPagesEndInAMessageOrInRows) {
  TempDir dir;
  std::string rows = R"([{"Source": "a.jpg", "Description": ")" + std::string(5000, 'x') +
                     R"("}, {"Source": "b.jpg"}])";
  Make_mdb(dir, "small.mdb", One_table(rows));
  std::string whole = Small_database(dir);
  // An encoding key that the pages were not written with: every page but
  // the first reads as noise.
  std::string keyed = whole;
  keyed[0x3e] ^= 0x5a;
  dir.Write("keyed.mdb", keyed);
  Collected sink;
  Status read = Read_mdb(dir.Win("keyed.mdb"), sink);
  EXPECT_FALSE(read.ok());
  EXPECT_TRUE(sink.records.empty());
  // Bytes overwritten all over the file: whatever libmdb makes of them, the
  // reader comes back.
  unsigned seed = 12345;
  for (int round = 0; round < 40; ++round) {
    std::string damaged = whole;
    for (int i = 0; i < 6; ++i) {
      seed = seed * 1103515245 + 12345;
      size_t at = 2048 + (seed >> 8) % (damaged.size() - 2048);
      damaged[at] = char(seed >> 24);
    }
    dir.Write("damaged.mdb", damaged);
    Collected any;
    Read_mdb(dir.Win("damaged.mdb"), any);
    EXPECT_LE(any.records.size(), 2u);
  }
}

// One byte of GA_PicInfo's definition that sends libmdb reading far out of
// bounds (a segmentation fault in libmdb 1.0): the program carries on and
// says what happened.
TEST(ReadMdb, ACrashInsideTheDatabaseLibraryEndsInAMessage) {
  TempDir dir;
  Make_mdb(dir, "small.mdb",
           R"({"tables": [{"name": "GA_PicInfo", "columns": [
      {"name": "Source", "type": "text"}, {"name": "Name", "type": "text"},
      {"name": "DATA1", "type": "text"}, {"name": "DATA2", "type": "text"},
      {"name": "Description", "type": "memo"}, {"name": "MEMO1", "type": "memo"},
      {"name": "DateCreated", "type": "datetime"}],
      "rows": [["a.jpg", "one", null, null, ")" +
               std::string(300, 'x') + R"(", null, null],
               ["b.jpg", "two", null, null, null, null, "2000-01-02"]]}]})");
  std::string damaged = Small_database(dir);
  ASSERT_EQ(damaged.size(), 14336u);
  damaged[6179] = 58;
  dir.Write("crash.mdb", damaged);
  Collected sink;
  Status read = Read_mdb(dir.Win("crash.mdb"), sink);
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
