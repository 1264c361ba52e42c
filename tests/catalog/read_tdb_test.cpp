#include "catalog/read_tdb.h"

#include <gtest/gtest.h>

#include "catalog/byte_reader.h"
#include "catalog/fixtures/recording_sink.h"
#include "catalog/fixtures/tdb_reference.h"
#include "catalog/fixtures/tdb_writer.h"
#include "catalog/tdb_tables.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "support/temp_dir.h"

namespace zendrel::testing {
namespace {

uint32_t Le32(const std::string& b, int64_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | uint8_t(b[size_t(at + i)]);
  return v;
}
void Set_le32(std::string& b, int64_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[size_t(at + i)] = char(v >> (8 * i));
}

class ReadTdb : public ::testing::Test {
 protected:
  void SetUp() override {
    drives.Set('C', "/");
    drives.Set('D', d.native(), "PHOTOS99");
    drives.Set('E', e.native(), "TRIPS");
  }
  std::vector<PictureRecord> Read(const std::string& bytes, Status* status = nullptr) {
    RecordingSink sink;
    Status read = Read_tdb(bytes, sink, drives);
    if (status)
      *status = read;
    else
      EXPECT_TRUE(read.ok()) << read.message();
    return sink.records;
  }
  std::vector<std::string> Paths(const std::vector<PictureRecord>& records) {
    std::vector<std::string> paths;
    for (const auto& r : records) paths.push_back(r.SourceFile + "|" + r.Subject);
    return paths;
  }
  DriveTable drives;  // this test's own
  TempDir d, e;
};

TEST(TdbIntegers, TopBitReadsAsMinusOneInBothOrders) {
  std::string bytes("\x80\x00\x00\x01\x01\x00\x00\x80\x12\x34\x56\x78", 12);
  ByteReader file(bytes);
  EXPECT_EQ(Read_Quad(file, 0), -1);
  EXPECT_EQ(Read_QuadRev(file, 4), -1);
  EXPECT_EQ(Read_Quad(file, 8), 0x12345678);
  EXPECT_EQ(Read_QuadRev(file, 8), 0x78563412);
  EXPECT_TRUE(file.ok());
  EXPECT_EQ(Read_Quad(file, 9), 0);
  EXPECT_FALSE(file.ok());
}

TEST_F(ReadTdb, PicturesOverPagesVolumesAndFoldersWithTheirOwnKeywords) {
  d.Make_dir("Photos/1999");
  d.Write("Photos/1999/a.jpg", "x");
  auto records = Read(Write_tdb(Sample_tdb()));
  EXPECT_EQ(Paths(records), (std::vector<std::string>{
                                "D:\\Photos\\1999\\a.jpg| sea sun", "E:\\b.jpg|",
                                "D:\\Photos\\1999\\c.jpg| cat sea", "Lost\\d.jpg| dog", "e.jpg|",
                                "E:\\f.jpg| snow", "D:\\Photos\\1999\\g.jpg| dog cat sun"}));
  EXPECT_EQ(records[0].Date, Long_date_text(*Modified_time(drives, "D:\\Photos\\1999\\a.jpg")));
  EXPECT_EQ(records[1].Date, "");  // not there
  EXPECT_EQ(records[0].Title + records[0].Category + records[0].Comment + records[0].Author, "");
}

TEST_F(ReadTdb, OnePagePerRecordGivesTheSameResult) {
  TdbContent content = Sample_tdb();
  auto expected = Paths(Read(Write_tdb(content)));
  content.entries_per_page = 1;
  EXPECT_EQ(Paths(Read(Write_tdb(content))), expected);
  content.entries_per_page = 255;
  EXPECT_EQ(Paths(Read(Write_tdb(content))), expected);
}

TEST_F(ReadTdb, TwoCarriersOfOneLabelGiveTheLaterLetter) {
  drives.Set('H', d.native(), "TRIPS");
  auto paths = Paths(Read(Write_tdb(Sample_tdb())));
  EXPECT_EQ(paths[1], "H:\\b.jpg|");
  EXPECT_EQ(paths[0], "D:\\Photos\\1999\\a.jpg| sea sun");
}

TEST_F(ReadTdb, DrivesAAndBAreReadOnlyWhileVolumesLackADrive) {
  drives.Set('A', e.native(), "GONE");
  drives.Set('B', e.native(), "PHOTOS99");  // every volume placed before B
  auto paths = Paths(Read(Write_tdb(Sample_tdb())));
  EXPECT_EQ(paths[3], "A:\\Lost\\d.jpg| dog");
  EXPECT_EQ(paths[0], "D:\\Photos\\1999\\a.jpg| sea sun");
}

TEST_F(ReadTdb, VolumesPastTheSixteenthStillGetTheirDrive) {
  TdbContent c;
  for (int v = 0; v < 20; ++v) c.volumes.push_back({v, "V" + std::to_string(v)});
  c.folders = {{1, 19, "Far"}};
  c.pictures = {{1, 1, "z.jpg"}};
  drives.Set('Q', d.native(), "V19");
  EXPECT_EQ(Read(Write_tdb(c))[0].SourceFile, "Q:\\Far\\z.jpg");
}

// The reader gathers keywords in one pass; the subjects and their order must
// be those of scanning the whole link table for every picture.
TEST_F(ReadTdb, SubjectsMatchTheLinkByLinkScan) {
  for (unsigned seed : {1u, 2u, 3u}) {
    std::string bytes = Write_tdb(Large_tdb(60, 400, seed, int(seed * 5)));
    auto records = Read(bytes);
    auto expected = Reference_tdb_subjects(bytes);
    ASSERT_EQ(records.size(), expected.size());
    for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i].Subject, expected[i]) << i;
  }
  EXPECT_EQ(Reference_tdb_subjects(Write_tdb(Sample_tdb()))[6], " dog cat sun");
}

TEST_F(ReadTdb, TextFieldsWithoutNulAreReadWhole) {
  TdbContent c = Sample_tdb();
  c.pictures[0].file_name = std::string(252, 'n') + ".jpg";  // fills its 256 bytes
  EXPECT_EQ(Read(Write_tdb(c))[0].SourceFile,
            "D:\\Photos\\1999\\" + std::string(252, 'n') + ".jpg");
}

TEST_F(ReadTdb, StopsAfterThePictureWhereTheStopWasAsked) {
  RecordingSink sink;
  sink.stop_after = 2;
  EXPECT_TRUE(Read_tdb(Write_tdb(Sample_tdb()), sink, drives).ok());
  EXPECT_EQ(sink.records.size(), 2u);
}

// Every truncation of a good file: no crash, no read outside the buffer
// (the sanitizer build checks that), a message once damage is met, and
// the pictures before it are those of the whole file.
TEST_F(ReadTdb, EveryTruncationStopsCleanlyWithAPrefixOfThePictures) {
  std::string whole = Write_tdb(Sample_tdb());
  auto all = Paths(Read(whole));
  for (size_t length = 0; length < whole.size(); ++length) {
    std::string cut = whole.substr(0, length);
    cut.shrink_to_fit();
    Status status;
    auto got = Paths(Read(cut, &status));
    ASSERT_LE(got.size(), all.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), all.begin())) << length;
    if (got.size() < all.size()) EXPECT_FALSE(status.ok()) << length;
    if (!status.ok())
      EXPECT_NE(status.message().find("past the end of the file"), std::string::npos);
  }
}

TEST_F(ReadTdb, DamagedTablesEndTheReadingWithAMessage) {
  std::string good = Write_tdb(Sample_tdb());
  int64_t header = Le32(good, kTdbPictureAnchor);
  int64_t first_page = Le32(good, header + 72);
  Status status;

  std::string looped = good;  // a page with no entries that leads to itself
  looped[size_t(first_page + 8)] = 0;
  Set_le32(looped, first_page, uint32_t(first_page));
  EXPECT_TRUE(Read(looped, &status).empty());
  EXPECT_NE(status.message().find("picture table has a chain of pages that loops"),
            std::string::npos)
      << status.message();

  std::string huge = good;
  Set_le32(huge, header + 24, 0x7FFFFFFF);
  EXPECT_TRUE(Read(huge, &status).empty());
  EXPECT_NE(status.message().find("claims 2147483647 records, more than the file could hold"),
            std::string::npos);

  std::string negative = good;
  Set_le32(negative, header + 24, 0xFFFFFFFF);
  Read(negative, &status);
  EXPECT_NE(status.message().find("negative record count"), std::string::npos);

  std::string far_record = good;  // the third picture's pointer leads outside
  Set_le32(far_record, first_page + 18 + 2 * 8, 0x7FFFFFF0);
  EXPECT_EQ(Read(far_record, &status).size(), 2u);
  EXPECT_NE(status.message().find("(picture 3)"), std::string::npos) << status.message();

  std::string volumes = good;  // a volume count beyond the file
  Set_le32(volumes, Le32(good, kTdbVolumeAnchor) + 24, 0x10000000);
  EXPECT_TRUE(Read(volumes, &status).empty());
  EXPECT_NE(status.message().find("volume index claims"), std::string::npos);
}

}  // namespace
}  // namespace zendrel::testing
