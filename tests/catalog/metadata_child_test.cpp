// The child process that reads metadata: results in order, and a crash or a
// hang over one picture costs only that picture's metadata. The children
// are execs of this test program playing the roles registered here.
#include "catalog/metadata_child.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/archive_lock.h"
#include "support/jpeg_fixture.h"
#include "support/temp_dir.h"

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

constexpr char kEchoRole[] = "test-echo-metadata";
const bool kEcho = Register_child_role(kEchoRole, [](int channel, const std::vector<std::string>&) {
  return Serve_metadata(channel, Echo);
});

// Answers with the descriptors the child holds besides the one that lists them.
const bool kDescriptors =
    Register_child_role("test-descriptors", [](int channel, const std::vector<std::string>&) {
      std::string held;
      DIR* fds = opendir("/proc/self/fd");
      while (dirent* entry = fds ? readdir(fds) : nullptr) {
        if (entry->d_name[0] != '.' && atoi(entry->d_name) != dirfd(fds))
          held += std::string(held.empty() ? "" : " ") + entry->d_name;
      }
      if (fds) closedir(fds);
      Send_to_parent(channel, 'M', held);
      return 0;
    });

MetadataChild Echo_child(std::vector<std::string> paths, int silence_ms = 30000,
                         std::function<bool()> stop = {}) {
  return MetadataChild(std::move(paths), {std::move(stop), kEchoRole, silence_ms});
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
  MetadataChild child = Echo_child(paths);
  int damaged = 0;
  std::vector<std::string> titles = Titles(child, paths.size() + 1, &damaged);
  EXPECT_EQ(damaged, 0);
  EXPECT_EQ(titles[0], "title of 0");
  EXPECT_EQ(titles[5], "");  // no path, no metadata
  EXPECT_EQ(titles[2000], "title of 1999");
  EXPECT_EQ(titles[2001], "");  // past the end
}

TEST(MetadataChild, ACrashOrAHangCostsOnlyThatPicture) {
  MetadataChild child = Echo_child({"a", "crash", "b", "hang", "damaged", "c", "crash"}, 2000);
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
  MetadataChild child = Echo_child({"huge", "a"});
  int damaged = 0;
  std::vector<std::string> titles = Titles(child, 2, &damaged);
  EXPECT_EQ(titles, (std::vector<std::string>{"", "title of a"}));
  EXPECT_EQ(damaged, 1);
}
#endif

TEST(MetadataChild, EndingEarlyLeavesNoChildBehind) {
  {
    MetadataChild child = Echo_child({"a", "hang", "b"});
    EXPECT_EQ(child.Next().title, "title of a");
  }
  // Every child has been waited for: none is left to reap.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

TEST(MetadataChild, AStopKillsAHungChildAtOnce) {
  bool stop = false;
  MetadataChild child = Echo_child({"a", "hang", "b"}, 600000, [&] { return stop; });
  EXPECT_EQ(child.Next().title, "title of a");
  stop = true;
  PictureMetadata hung = child.Next();  // ends at the stop, not after the silence limit
  EXPECT_EQ(hung.title, "");
  EXPECT_EQ(child.Next().title, "");  // no new child after a stop
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

TEST(ChildProcess, AChildHoldsNoDescriptorOfTheRun) {
  testing::TempDir dir;
  dir.Make_dir("dest");
  ArchiveLock lock;
  ASSERT_TRUE(lock.Acquire(testing::Root_drives(), dir.Win("dest")).ok());
  int plain = open(dir.Native("dest").c_str(), O_RDONLY);  // not even one opened without O_CLOEXEC
  ChildProcess child;
  ASSERT_TRUE(child.Start("test-descriptors", {}, {}).ok());
  ChildMessage message;
  ASSERT_EQ(child.Receive(&message), ChildProcess::Result::kMessage);
  EXPECT_EQ(message.payload, "0 1 2 3");
  close(plain);
  // The lock is free as soon as this process lets it go.
  lock.Release();
  ArchiveLock again;
  EXPECT_TRUE(again.Acquire(testing::Root_drives(), dir.Win("dest")).ok());
}

TEST(MetadataChild, APipeNamedLikeASidecarIsSkippedWithoutWaiting) {
  testing::TempDir dir;
  dir.Write("a.jpg", testing::Small_jpeg(64, 48));
  ASSERT_EQ(mkfifo(dir.Native("a.jpg.xmp").c_str(), 0644), 0);
  ASSERT_EQ(mkfifo(dir.Native("a.xmp").c_str(), 0644), 0);
  ASSERT_EQ(mkfifo(dir.Native("b.jpg").c_str(), 0644), 0);
  // Read here in the test's own process: a wait would hang the test. The
  // picture is counted as one whose metadata could not all be read.
  EXPECT_TRUE(Read_picture_metadata(dir.Native("a.jpg")).damaged);
  EXPECT_EQ(Read_picture_metadata(dir.Native("b.jpg")).title, "");
  MetadataChild child({dir.Native("a.jpg"), dir.Native("b.jpg")});
  EXPECT_TRUE(child.Next().damaged);
  EXPECT_FALSE(child.Next().damaged);
}

}  // namespace
}  // namespace zendrel
