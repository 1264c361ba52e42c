// The child process that reads metadata: results in order, and a crash or a
// hang over one picture costs only that picture's metadata.
#include "catalog/metadata_child.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace zendrel {
namespace {

PictureMetadata Echo(const std::string& path) {
  if (path == "crash") std::abort();
  if (path == "hang") pause();
  if (path == "huge") {
    // Address space alone, never touched: refused under the child's limit.
    static char* volatile kept;
    kept = new char[size_t(2) << 30];
    kept[0] = 1;
  }
  PictureMetadata m;
  m.title = "title of " + path;
  m.damaged = path == "damaged";
  return m;
}

std::vector<std::string> Titles(MetadataChild& child, size_t count, int* damaged) {
  std::vector<std::string> titles;
  for (size_t i = 0; i < count; ++i) {
    PictureMetadata m = child.Next();
    titles.push_back(m.title);
    if (m.damaged) ++*damaged;
  }
  return titles;
}

TEST(MetadataChild, DeliversEveryPictureInOrder) {
  std::vector<std::string> paths;
  for (int i = 0; i < 2000; ++i) paths.push_back(std::to_string(i));  // more than a pipe holds
  paths.insert(paths.begin() + 5, "");
  MetadataChild child(paths, Echo);
  int damaged = 0;
  std::vector<std::string> titles = Titles(child, paths.size() + 1, &damaged);
  EXPECT_EQ(damaged, 0);
  EXPECT_EQ(titles[0], "title of 0");
  EXPECT_EQ(titles[5], "");  // no path, no metadata
  EXPECT_EQ(titles[2000], "title of 1999");
  EXPECT_EQ(titles[2001], "");  // past the end
}

TEST(MetadataChild, ACrashOrAHangCostsOnlyThatPicture) {
  MetadataChild child({"a", "crash", "b", "hang", "damaged", "c", "crash"}, Echo, 300);
  int damaged = 0;
  std::vector<std::string> titles = Titles(child, 7, &damaged);
  std::vector<std::string> expected = {"title of a", "", "title of b", "", "title of damaged",
                                       "title of c", ""};
  EXPECT_EQ(titles, expected);
  EXPECT_EQ(damaged, 4);
}

// Under AddressSanitizer the child has no memory limit: its shadow memory
// alone would pass any. g++ says so by a macro, clang by __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define ZENDREL_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZENDREL_TEST_SANITIZED 1
#endif
#endif

#if !defined(ZENDREL_TEST_SANITIZED)
TEST(MetadataChild, ARunawayAllocationEndsInTheChild) {
  MetadataChild child({"huge", "a"}, Echo);
  int damaged = 0;
  std::vector<std::string> titles = Titles(child, 2, &damaged);
  EXPECT_EQ(titles, (std::vector<std::string>{"", "title of a"}));
  EXPECT_EQ(damaged, 1);
}
#endif

TEST(MetadataChild, EndingEarlyLeavesNoChildBehind) {
  {
    MetadataChild child({"a", "hang", "b"}, Echo);
    EXPECT_EQ(child.Next().title, "title of a");
  }
  // Every child has been waited for: none is left to reap.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

}  // namespace
}  // namespace zendrel
