#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace zendrel {
namespace {

TEST(Codepage, RoundTripsEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += char(b);
  EXPECT_EQ(Utf8_to_system_text(System_text_to_utf8(all)), all);
}

TEST(Codepage, ConvertsNamesBothWays) {
  EXPECT_EQ(Utf8_to_system_text("Caf\xC3\xA9.jpg"), "Caf\xE9.jpg");
  EXPECT_EQ(System_text_to_utf8("\x80 5"), "\xE2\x82\xAC 5");  // euro sign
  // Bytes that are not UTF-8 are kept as they stand.
  EXPECT_EQ(Utf8_to_system_text("a\xE9z"), "a\xE9z");
}

TEST(Codepage, CarriesEveryOtherCharacterAsAReference) {
  EXPECT_EQ(Utf8_to_system_text("\xE6\x97\xA5.jpg"), "&#26085;.jpg");  // U+65E5
  EXPECT_EQ(Utf8_to_system_text("\xC5\x81\xC3\xB3"
                                "d\xC5\xBA"),
            "&#321;\xF3"
            "d&#378;");
  EXPECT_EQ(Utf8_to_system_text("\xF0\x9F\x93\xB7"), "&#128247;");  // beyond the BMP
  const char* names[] = {"\xE6\xBC\xA2.jpg", "\xE5\xAD\x97.jpg", "\xCE\xA3\xCF\x83.jpg",
                         "\xD0\x96\xD1\x83\xD0\xBA", "\xF0\x9F\x93\xB7 & co",
                         // A native name that looks like a reference stays itself.
                         "&#26085;.jpg", "&#38;", "&&#321;;", "&#65;&#0;&#1114112;"};
  for (const char* name : names) {
    std::string text = Utf8_to_system_text(name);
    EXPECT_EQ(System_text_to_utf8(text), name) << text;
    for (char c : text) EXPECT_NE(c, '?') << text;
  }
}

TEST(Codepage, ReadsBackOnlyTheReferencesItWrites) {
  // What a user typed as HTML for a Windows-1252 character stays as typed.
  EXPECT_EQ(System_text_to_utf8("&#233; &#0233; &#x65E5; &#26085"),
            "&#233; &#0233; &#x65E5; &#26085");
  EXPECT_EQ(System_text_to_utf8("&#55296;&#1114112;"), "&#55296;&#1114112;");  // no character
  EXPECT_EQ(System_text_to_utf8("a&#38;b &#26085;"), "a&b \xE6\x97\xA5");
}

}  // namespace
}  // namespace zendrel
