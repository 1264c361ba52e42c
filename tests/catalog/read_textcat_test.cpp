#include "catalog/read_textcat.h"

#include <gtest/gtest.h>

#include "catalog/fixtures/recording_sink.h"

namespace zendrel::testing {
namespace {

std::vector<PictureRecord> Read_text(const std::string& text) {
  RecordingSink sink;
  EXPECT_TRUE(Read_textcat(text, sink).ok());
  return sink.records;
}

TEST(ReadTextcat, HeaderOnlyAsFirstLineQuotedOrNot) {
  auto records = Read_text("SourceFile\tTitle\tSubject\r\nC:\\a.jpg\tA\r\nSourceFile\tagain\r\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].SourceFile, "C:\\a.jpg");
  EXPECT_EQ(records[1].SourceFile, "SourceFile");  // further down it is a record
  EXPECT_EQ(records[1].Title, "again");
  EXPECT_EQ(Read_text("\"SourceFile\"\tTitle\r\nC:\\a.jpg\r\n").size(), 1u);
  EXPECT_EQ(Read_text("sourcefile\r\n").size(), 1u);  // case matters
}

TEST(ReadTextcat, FieldsArePositionalAndMissingOnesEmpty) {
  auto r = Read_text("a\tb")[0];
  EXPECT_EQ(r.Title, "b");
  EXPECT_EQ(r.Subject, "");
  EXPECT_EQ(r.Date, "");
  r = Read_text("a\t\tc\r\n")[0];
  EXPECT_EQ(r.Title, "");
  EXPECT_EQ(r.Subject, "c");
  r = Read_text("p\tt\ts\tc\tm\tau\td\t_X.jpg\tninth\ttenth\t\r\n")[0];
  EXPECT_EQ(r.SourceFile, "p");
  EXPECT_EQ(r.Category, "c");
  EXPECT_EQ(r.Comment, "m");
  EXPECT_EQ(r.Author, "au");
  EXPECT_EQ(r.Date, "d");            // eighth and later columns ignored
  r = Read_text("p\tt\t\t\r\n")[0];  // trailing tabs
  EXPECT_EQ(r.Title, "t");
}

TEST(ReadTextcat, EnclosingQuotesAreDroppedOnlyWhenBothThere) {
  auto r = Read_text("\"C:\\x.jpg\"\t\"Title\"\t\"half\t\"\t\"\r\n")[0];
  EXPECT_EQ(r.SourceFile, "C:\\x.jpg");
  EXPECT_EQ(r.Title, "Title");
  EXPECT_EQ(r.Subject, "\"half");  // a tab inside quotes still separates
  EXPECT_EQ(r.Category, "\"");     // so does this lone quote stay
  EXPECT_EQ(r.Comment, "\"");
}

TEST(ReadTextcat, BlankLinesAndLineEnds) {
  EXPECT_TRUE(Read_text("").empty());
  EXPECT_TRUE(Read_text("\r\n\r\n\tno source\r\n").empty());
  RecordingSink sink;
  EXPECT_TRUE(Read_textcat("SourceFile\r\na\nb\r\r\nc\r\nd", sink).ok());
  EXPECT_EQ(sink.expected, 4);  // announced before the first: the header and blank line not counted
  auto records = Read_text("a\nb\rc\r\nd");  // any line end; last line without one
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[3].SourceFile, "d");
  std::string long_title(40000, 'x');  // past the old 32,766 limit: read whole
  EXPECT_EQ(Read_text("a\t" + long_title + "\r\n")[0].Title, long_title);
}

TEST(ReadTextcat, StopIsCheckedAfterEveryLine) {
  RecordingSink sink;
  sink.stop_after = 1;
  EXPECT_TRUE(Read_textcat("\r\na\r\nb\r\n", sink).ok());
  EXPECT_EQ(sink.records.size(), 1u);
  EXPECT_EQ(sink.stop_checks, 2);  // the blank line was checked too
}

}  // namespace
}  // namespace zendrel::testing
