#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace zendrel {
namespace {

TEST(Codepage, RoundTripsEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += char(b);
  bool lossless = false;
  EXPECT_EQ(Utf8_to_cp1252(Cp1252_to_utf8(all), &lossless), all);
  EXPECT_TRUE(lossless);
}

TEST(Codepage, ConvertsNamesBothWays) {
  EXPECT_EQ(Utf8_to_cp1252("Caf\xC3\xA9.jpg"), "Caf\xE9.jpg");
  EXPECT_EQ(Cp1252_to_utf8("\x80 5"), "\xE2\x82\xAC 5");  // euro sign
}

TEST(Codepage, MarksWhatItCannotHold) {
  bool lossless = true;
  EXPECT_EQ(Utf8_to_cp1252("\xE6\x9D\xB1.jpg", &lossless), "?.jpg");  // a CJK character
  EXPECT_FALSE(lossless);
  // Bytes that are not UTF-8 are kept as they stand.
  EXPECT_EQ(Utf8_to_cp1252("a\xE9z"), "a\xE9z");
}

}  // namespace
}  // namespace zendrel
