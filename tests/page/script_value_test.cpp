#include "page/script_value.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "page/record_line.h"

namespace zendrel {
namespace {

TEST(SafeScriptValue, KeepsWellFormedValuesByteForByte) {
  for (const char* value : {"", "Sunset at Brighton", "C:\\\\Photos\\\\1999", "it's \\n fine",
                            "caf\xE9 <b>bold</b>", "\\x41\\u0042"}) {
    EXPECT_EQ(Safe_script_value(value), value);
  }
}

TEST(SafeScriptValue, MendsWhatWouldBreakThePage) {
  EXPECT_EQ(Safe_script_value("say \"hi\""), "say \\x22hi\\x22");
  EXPECT_EQ(Safe_script_value("two\r\nlines"), "two\\r\\nlines");
  EXPECT_EQ(Safe_script_value("C:\\xmas"), "C:\\\\xmas");
  EXPECT_EQ(Safe_script_value("\\user"), "\\\\user");
  EXPECT_EQ(Safe_script_value("ends in \\"), "ends in \\\\");
  EXPECT_EQ(Safe_script_value("a \\\" b"), "a \\\\\\x22 b");
  EXPECT_EQ(Safe_script_value("</script><SCRIPT>"), "<\\/script><\\SCRIPT>");
  EXPECT_EQ(Safe_script_value("<!-- x"), "<\\!-- x");
  EXPECT_EQ(Safe_script_value(std::string("a\0b", 3)), "ab");
  // A NUL cannot hide an end tag: it is gone before the checks look.
  EXPECT_EQ(Safe_script_value(std::string("</\0script>", 10)), "<\\/script>");
  EXPECT_EQ(Safe_script_value(std::string("<\0!--", 5)), "<\\!--");
  EXPECT_EQ(Safe_script_value(std::string("\\\0", 2)), "\\\\");
  // Code point escapes: only up to U+10FFFF are script.
  EXPECT_EQ(Safe_script_value("\\u{10FFFF}"), "\\u{10FFFF}");
  EXPECT_EQ(Safe_script_value("\\u{110000}"), "\\\\u{110000}");
  EXPECT_EQ(Safe_script_value("\\u{FFFFFF}"), "\\\\u{FFFFFF}");
  EXPECT_EQ(Safe_script_value("\\u{0000041}"), "\\\\u{0000041}");
}

TEST(SafeScriptValue, WritingTwiceChangesNothing) {
  for (const char* value :
       {"say \"hi\"", "C:\\xmas", "end\\", "</script>", "a\nb", "\\\"q", "\\u{110000}"}) {
    std::string once = Safe_script_value(value);
    EXPECT_EQ(Safe_script_value(once), once) << value;
  }
}

TEST(SafeScriptValue, ABackslashShowsAsWritten) {
  // The page reads back what was meant: each value as the script reads it.
  struct Case {
    const char* value;
    const char* page;
    const char* shown;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"back\\slash", "back\\\\slash", "back\\slash"},
           {"C:\\1999\\0", "C:\\\\1999\\\\0", "C:\\1999\\0"},
           {"a\\/b \\!", "a\\\\/b \\\\!", "a\\/b \\!"},
           {"say \"hi\"", "say \\x22hi\\x22", "say \"hi\""},
           {"it's \\n", "it's \\n", "it's \n"},
           {"</script>", "<\\/script>", "</script>"},
           {"\\u65E5 \\x41 \\u{1F600}", "\\u65E5 \\x41 \\u{1F600}", "&#26085; A &#128512;"},
           {"caf\xE9 \\xE9", "caf\xE9 \\xE9", "caf\xE9 \xE9"},
       }) {
    EXPECT_EQ(Safe_script_value(c.value), c.page) << c.value;
    EXPECT_EQ(Safe_script_value(c.page), c.page) << c.value;
    EXPECT_EQ(Text_of_script_value(c.page), c.shown) << c.value;
  }
}

TEST(SafeStagingValue, KeepsColumnsInPlace) {
  EXPECT_EQ(Safe_staging_value("a\tb\r\nc"), "a b  c");
}

TEST(RecordLine, WritesFiveLinesThatReadBackIntoTenValues) {
  ArchiveRecord values = {"_ABCDEF0.jpg", "",    "C:\\\\Photos", "a.jpg", "Title \"quoted\"",
                          "line\nbreak",  "cat", "C:\\xmas",     "me",    "March 3, 2001"};
  auto lines = Record_lines(values);
  EXPECT_EQ(lines[0], "cat.add (new Pic (\"_ABCDEF0.jpg\", \"\",");
  EXPECT_EQ(lines[1], "  \"C:\\\\Photos\", \"a.jpg\",");
  EXPECT_EQ(lines[4], "  \"me\", \"March 3, 2001\"));");
  std::string joined;
  for (const auto& line : lines) joined += line;
  auto read = Split_record_text(joined);
  ASSERT_EQ(read.size(), 10u);
  EXPECT_EQ(read[4], "Title \\x22quoted\\x22");
  EXPECT_EQ(read[2], "C:\\\\Photos");
}

TEST(RecordLine, EmptyRecordGivesTenEmptyValues) {
  ArchiveRecord empty;
  auto lines = Record_lines(empty);
  EXPECT_EQ(lines[0], "cat.add (new Pic (\"\", \"\",");
  std::string joined;
  for (const auto& line : lines) joined += line;
  EXPECT_EQ(Split_record_text(joined), std::vector<std::string>(10));
}

TEST(Backslashes, DoubleAndSingleAreInverse) {
  EXPECT_EQ(Double_backslashes("C:\\a\\b"), "C:\\\\a\\\\b");
  EXPECT_EQ(Single_backslashes("C:\\\\a\\\\b"), "C:\\a\\b");
}

}  // namespace
}  // namespace zendrel
