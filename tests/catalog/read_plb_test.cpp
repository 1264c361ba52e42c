#include "catalog/read_plb.h"

#include <gtest/gtest.h>

#include "catalog/fixtures/plb_writer.h"
#include "catalog/fixtures/recording_sink.h"

namespace zendrel::testing {
namespace {

std::vector<PictureRecord> Read_plb_bytes(const std::string& bytes, Status* status = nullptr) {
  RecordingSink sink;
  Status read = Read_plb(bytes, sink);
  if (status)
    *status = read;
  else
    EXPECT_TRUE(read.ok()) << read.message();
  return sink.records;
}

PlbHeader Header(const std::string& path, const std::string& first, const std::string& second) {
  return {"Title of " + path, "Comment", first, second, path, 36000};
}

std::string Two_pictures() {
  return PlbWriter()
      .Filler()
      .Header(Header("C:\\a.jpg", "Jane", "Doe"))
      .Filler()
      .Word_lists({"a", "b"}, {"family"})
      .Header(Header("C:\\b.jpg", "", ""))
      .Word_lists({}, {})
      .Filler()
      .bytes();
}

TEST(ReadPlb, TwoPicturesWithWordListsAndEmptyOnes) {
  auto records = Read_plb_bytes(Two_pictures());
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].SourceFile, "C:\\a.jpg");
  EXPECT_EQ(records[0].Title, "Title of C:\\a.jpg");
  EXPECT_EQ(records[0].Comment, "Comment");
  EXPECT_EQ(records[0].Subject, " a b");
  EXPECT_EQ(records[0].Category, " family");
  EXPECT_EQ(records[0].Author, "Jane Doe");
  EXPECT_EQ(records[0].Date, "July 24, 1998");
  EXPECT_EQ(records[1].Subject + records[1].Category + records[1].Author, "");
}

TEST(ReadPlb, AuthorPartsInEveryCombination) {
  struct Case {
    const char *first, *second, *author;
  } cases[] = {{"Jane", "Doe", "Jane Doe"},
               {"Jane ", "Doe", "Jane Doe"},
               {"", "Doe", "Doe"},
               {"Jane", "", "Jane "},
               {"", "", ""}};
  for (const Case& c : cases) {
    auto r = Read_plb_bytes(
        PlbWriter().Header(Header("p.jpg", c.first, c.second)).Word_lists({}, {}).bytes());
    EXPECT_EQ(r.at(0).Author, c.author) << c.first << "|" << c.second;
  }
}

TEST(ReadPlb, DateBytesAreTheMiddleOfADayNumber) {
  EXPECT_EQ(Plb_date_bytes(36000), std::string("\x00\x94\xE1", 3));
  auto date = [](double day) {
    return Read_plb_bytes(
               PlbWriter().Header({"", "", "", "", "p.jpg", day}).Word_lists({}, {}).bytes())[0]
        .Date;
  };
  EXPECT_EQ(date(2), "January 1, 1900");
  EXPECT_EQ(date(36526), "January 1, 2000");
  EXPECT_EQ(date(36585.75), "February 29, 2000");  // the whole part counts
}

TEST(ReadPlb, OnlyScannedBytesFormSignatures) {
  // The header's last bytes are E1 40 00 followed by seven zero bytes: the
  // word-list signature straddles the block's end and is not seen.
  std::string bytes =
      PlbWriter().Header({"t", "", "", "", "C:\\s.jpg", 0}).Raw(std::string(4, '\0')).bytes();
  bytes.replace(bytes.size() - 7, 3, "\xE1\x40\x00", 3);
  bytes += std::string(3, '\0');
  EXPECT_TRUE(Read_plb_bytes(bytes).empty());
  bytes = PlbWriter().Header(Header("C:\\s.jpg", "", "")).Word_lists({}, {}).bytes();
  EXPECT_EQ(Read_plb_bytes(bytes).size(), 1u);
  // A signature inside a word read as data is not seen either.
  bytes =
      PlbWriter().Header(Header("x.jpg", "", "")).Word_lists({kPlbWordListSignature}, {}).bytes();
  EXPECT_EQ(Read_plb_bytes(bytes).size(), 1u);
}

TEST(ReadPlb, WordListsWithoutTheirOwnHeader) {
  auto records = Read_plb_bytes(PlbWriter()
                                    .Word_lists({"early"}, {})
                                    .Header(Header("C:\\h.jpg", "Jane", "Doe"))
                                    .Header(Header("C:\\i.jpg", "Ann", "Lee"))
                                    .Word_lists({}, {})
                                    .Word_lists({"again"}, {})
                                    .bytes());
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].SourceFile, "");           // before any header: empty fields
  EXPECT_EQ(records[1].SourceFile, "C:\\i.jpg");  // h.jpg had no word list
  EXPECT_EQ(records[2].SourceFile, "C:\\i.jpg");
  EXPECT_EQ(records[2].Author, "Ann Lee");  // not "Ann Lee Lee"
  EXPECT_EQ(records[2].Subject, " again");
}

TEST(ReadPlb, StopsAfterThePictureWhereTheStopWasAsked) {
  RecordingSink sink;
  sink.stop_after = 1;
  EXPECT_TRUE(Read_plb(Two_pictures(), sink).ok());
  EXPECT_EQ(sink.records.size(), 1u);
}

TEST(ReadPlb, EveryTruncationStopsCleanlyWithAPrefixOfThePictures) {
  std::string whole = Two_pictures();
  auto all = Read_plb_bytes(whole);
  int damaged = 0;
  for (size_t length = 0; length < whole.size(); ++length) {
    Status status;
    auto got = Read_plb_bytes(whole.substr(0, length), &status);
    ASSERT_LE(got.size(), all.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].SourceFile, all[i].SourceFile);
    if (!status.ok()) {
      ++damaged;
      EXPECT_NE(status.message().find("past the end of the file"), std::string::npos);
    }
  }
  EXPECT_GT(damaged, 0);
}

}  // namespace
}  // namespace zendrel::testing
