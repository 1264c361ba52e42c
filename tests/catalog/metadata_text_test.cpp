// Texts and dates as the pictures' writers store them.
#include "catalog/metadata_text.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace zendrel {
namespace {

TEST(MetadataText, UnlabelledTextIsUtf8WhenValidAndWindows1252Otherwise) {
  EXPECT_EQ(Utf8_from_unlabelled("Caf\xC3\xA9"), "Caf\xC3\xA9");
  EXPECT_EQ(Utf8_from_unlabelled("Caf\xE9 \x80"), "Caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(Utf8_from_unlabelled(std::string("ab\0cd", 5)), "ab");
  // Overlong forms and surrogates are no UTF-8.
  EXPECT_EQ(Utf8_from_unlabelled("\xC0\xAF"), "\xC3\x80\xC2\xAF");
  EXPECT_EQ(Utf8_from_unlabelled("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
  EXPECT_EQ(Utf8_from_unlabelled("\xE6\x97"), "\xC3\xA6\xE2\x80\x94");  // cut short
}

TEST(MetadataText, Utf16UpToItsNul) {
  using namespace std::string_literals;
  EXPECT_EQ(Utf8_from_utf16("a\0\xE9\0\0\0z\0"s), "a\xC3\xA9");
  EXPECT_EQ(Utf8_from_utf16("\x3D\xD8\x00\xDE"s), "\xF0\x9F\x98\x80");  // a surrogate pair
  EXPECT_EQ(Utf8_from_utf16("\x3D\xD8"
                            "a\0"s),
            "\xEF\xBF\xBD"
            "a");                               // a lone one
  EXPECT_EQ(Utf8_from_utf16("b\0\x01"s), "b");  // an odd byte
}

TEST(MetadataText, CameraPlaceholders) {
  for (const char* text : {"", "   ", "OLYMPUS DIGITAL CAMERA", " Olympus digital camera  ",
                           "KONICA MINOLTA DIGITAL CAMERA", "SONY DSC", "\t\r\n"})
    EXPECT_TRUE(Is_placeholder(text)) << text;
  for (const char* text : {"My digital camera broke", "Dsc harbour", "Sony"})
    EXPECT_FALSE(Is_placeholder(text)) << text;
}

TEST(MetadataText, DatesOfEveryFormWholeOrPartialAndValidOnly) {
  struct Case {
    const char* text;
    const char* date;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"1999:11:13 10:20:30", "November 13, 1999"},
           {"2004-02-29T08:00:00+01:00", "February 29, 2004"},
           {"20000101", "January 1, 2000"},
           // A scanned print knows its year or month alone.
           {"1987", "1987"},
           {"1987-06", "June 1987"},
           {"1987:06:00 00:00:00", "June 1987"},
           {"1987:00:00 00:00:00", "1987"},
           {"19870600", "June 1987"},
           // Nothing, or a date that cannot be: the next source decides.
           {"", ""},
           {"    :  :     :  :  ", ""},
           {"0000:00:00 00:00:00", ""},
           {"2003-02-29", ""},
           {"2019:02:30 10:00:00", ""},
           {"2001-13-01", ""},
           {"1987:00:05", ""},
           {"2001-5", ""},
           {"abcd:ef:gh", ""},
           {"1987x", ""},
       })
    EXPECT_EQ(Date_text_from_metadata(c.text), c.date) << c.text;
}

TEST(MetadataText, TextEntersAsTextNeverMarkup) {
  EXPECT_EQ(System_text_from_metadata("<img src=x onerror=alert(1)> &amp; back\\slash"),
            "&lt;img src=x onerror=alert(1)&gt; &amp;amp; back&#92;slash");
  // Characters outside the code page become references after the escaping,
  // so a literal reference stays literal.
  EXPECT_EQ(System_text_from_metadata("\xE6\x97\xA5 &#26085; caf\xC3\xA9"),
            "&#26085; &amp;#26085; caf\xE9");
}

}  // namespace
}  // namespace zendrel
