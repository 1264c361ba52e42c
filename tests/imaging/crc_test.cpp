#include "imaging/crc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace zendrel {
namespace {

std::string Code_of(std::string stamp) {
  std::string buffer = stamp + '\0';
  EXPECT_EQ(crc(buffer.data()), 0);
  EXPECT_EQ(std::strlen(buffer.c_str()), stamp.size()) << "the buffer keeps its length";
  EXPECT_EQ(buffer.substr(7, stamp.size() - 7), stamp.substr(7)) << "only seven characters change";
  return buffer.substr(0, 7);
}

TEST(Crc, IsTheStandardCrc32) {
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(Crc32(""), 0u);
}

TEST(Crc, CodesUseTheAlphabetAndEndInOneOfFourCharacters) {
  std::set<char> seventh;
  std::set<std::string> codes;
  for (int i = 0; i < 2000; ++i) {
    std::string stamp =
        "2024" + std::to_string(1000000000 + i) + "IMG_" + std::to_string(i) + ".jpg";
    std::string code = Code_of(stamp);
    for (char c : code) EXPECT_NE(std::strchr(kNameAlphabet, c), nullptr) << code;
    EXPECT_NE(std::string("08HR").find(code[6]), std::string::npos) << code;
    seventh.insert(code[6]);
    codes.insert(code);
    EXPECT_EQ(code, Picture_code(stamp));
  }
  EXPECT_EQ(seventh.size(), 4u);
  EXPECT_GE(codes.size(), 1995u) << "codes of different stamps rarely meet";
}

TEST(Crc, SameStampSameCodeAndCharactersAfterTheSeventhIgnored) {
  std::string stamp = "20240102030405Caf\xE9.jpg";
  EXPECT_EQ(Code_of(stamp), Code_of(stamp));
  EXPECT_NE(Code_of(stamp), Code_of("20240102030406Caf\xE9.jpg"));
  // The code depends on the whole stamp as given, not on what a previous
  // call left in the buffer.
  std::string buffer = stamp + '\0';
  crc(buffer.data());
  std::string once = buffer.substr(0, 7);
  buffer = stamp + '\0';
  crc(buffer.data());
  EXPECT_EQ(buffer.substr(0, 7), once);
}

TEST(Crc, TooShortABufferIsLeftAlone) {
  char buffer[] = "123456";
  EXPECT_EQ(crc(buffer), 1);
  EXPECT_STREQ(buffer, "123456");
}

}  // namespace
}  // namespace zendrel
