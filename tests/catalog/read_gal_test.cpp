#include "catalog/read_gal.h"

#include <gtest/gtest.h>

#include "catalog/fixtures/gal_writer.h"
#include "catalog/fixtures/recording_sink.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "support/temp_dir.h"

namespace zendrel::testing {
namespace {

void Set_be32(std::string& b, int64_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[size_t(at + i)] = char(v >> (8 * (3 - i)));
}

std::vector<PictureRecord> Read_gal_bytes(const std::string& bytes, Status* status = nullptr,
                                          const DriveTable& drives = Root_drives()) {
  RecordingSink sink;
  Status read = Read_gal(bytes, sink, drives);
  if (status)
    *status = read;
  else
    EXPECT_TRUE(read.ok()) << read.message();
  return sink.records;
}

// In place with 0 and with 1, redirected, without a comment position, with
// an empty comment: the chain goes on from the block of the record read.
std::vector<GalPicture> Sample() {
  return {{"C:\\p\\1.jpg", "One", "First", true, false, 0},
          {"C:\\p\\2.jpg", "Two", "Second", true, true, 0},
          {"C:\\p\\3.jpg", "Three", "never read", false, false, 1},
          {"C:\\p\\4.jpg", "Four", "", true, true, 0},
          {"C:\\p\\5.jpg", "", "Fifth", true, false, 0}};
}

TEST(ReadGal, FollowsTheChainThroughRedirectsAndBlocks) {
  auto records = Read_gal_bytes(Write_gal(Sample()).bytes);
  ASSERT_EQ(records.size(), 5u);
  const char* titles[] = {"One", "Two", "Three", "Four", ""};
  const char* comments[] = {"First", "Second", "", "", "Fifth"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(records[i].SourceFile, "C:\\p\\" + std::to_string(i + 1) + ".jpg");
    EXPECT_EQ(records[i].Title, titles[i]);
    EXPECT_EQ(records[i].Comment, comments[i]);
    EXPECT_EQ(records[i].Subject + records[i].Category + records[i].Author, "");
  }
}

TEST(ReadGal, TheHeaderCountDecidesHowManyAreRead) {
  EXPECT_EQ(Read_gal_bytes(Write_gal(Sample(), 2).bytes).size(), 2u);
  EXPECT_TRUE(Read_gal_bytes(Write_gal(Sample(), 0).bytes).empty());
  EXPECT_TRUE(Read_gal_bytes(Write_gal(Sample(), 0xFFFFFFFF).bytes).empty());  // negative
  // An empty gallery whose first-record cell leads nowhere: no picture, no message.
  for (uint32_t first : {0u, 0x7FFFFFF0u}) {
    std::string empty = Write_gal({}, 0).bytes;
    Set_be32(empty, 252, first);
    Status status;
    EXPECT_TRUE(Read_gal_bytes(empty, &status).empty());
    EXPECT_TRUE(status.ok()) << status.message();
  }
}

TEST(ReadGal, DateComesFromThePicture) {
  TempDir dir;
  DriveTable drives;
  drives.Set('G', dir.native(), "");
  dir.Write("x.jpg", "x");
  auto records = Read_gal_bytes(
      Write_gal({{"G:\\x.jpg", "t", "c"}, {"G:\\missing.jpg", "t", "c"}}).bytes, nullptr, drives);
  EXPECT_EQ(records[0].Date, Long_date_text(*Modified_time(drives, "G:\\x.jpg")));
  EXPECT_EQ(records[1].Date, "");
}

TEST(ReadGal, StopsAfterThePictureWhereTheStopWasAsked) {
  RecordingSink sink;
  sink.stop_after = 3;
  EXPECT_TRUE(Read_gal(Write_gal(Sample()).bytes, sink, Root_drives()).ok());
  EXPECT_EQ(sink.records.size(), 3u);
}

TEST(ReadGal, EveryTruncationStopsCleanlyWithAPrefixOfThePictures) {
  std::string whole = Write_gal(Sample()).bytes;
  for (size_t length = 0; length < whole.size(); ++length) {
    std::string cut = whole.substr(0, length);
    Status status;
    auto got = Read_gal_bytes(cut, &status);
    ASSERT_LE(got.size(), 5u);
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].Title, Sample()[i].title);
    if (got.size() < 5) EXPECT_FALSE(status.ok()) << length;
  }
}

TEST(ReadGal, DamagedRecordsEndTheReadingWithAMessage) {
  GalFile good = Write_gal(Sample());
  Status status;

  std::string loop = good.bytes;  // the third record leads back to the first
  int64_t third = good.records[2];
  Set_be32(loop, third + 84, uint32_t(good.records[0]));
  Set_be32(loop, third + 80, 0);
  EXPECT_EQ(Read_gal_bytes(loop, &status).size(), 3u);
  EXPECT_EQ(status.message(),
            "picture record 4: the chain of picture records loops back to an earlier record");

  std::string negative = good.bytes;
  Set_be32(negative, good.records[1] + 16, 0xFFFFFFFF);
  EXPECT_EQ(Read_gal_bytes(negative, &status).size(), 1u);
  EXPECT_EQ(status.message(), "picture record 2: the title has a negative length");

  std::string far = good.bytes;
  Set_be32(far, good.records[0] + 8, 0x00100000);
  EXPECT_TRUE(Read_gal_bytes(far, &status).empty());
  EXPECT_NE(status.message().find("picture record 1: the path (1048576 bytes at position"),
            std::string::npos);

  std::string redirect = good.bytes;  // a stub that points outside the file
  Set_be32(redirect, good.records[0], 0x7FFFFFFF);
  EXPECT_TRUE(Read_gal_bytes(redirect, &status).empty());
  EXPECT_NE(status.message().find("runs past the end of the file"), std::string::npos);

  std::string count = good.bytes;
  Set_be32(count, 200, 0x01000000);
  EXPECT_TRUE(Read_gal_bytes(count, &status).empty());
  EXPECT_EQ(status.message(), "the picture count 16777216 is more than the file could hold");
}

}  // namespace
}  // namespace zendrel::testing
