// Runs that scale on several threads write exactly what a run on one thread
// writes, stop where it would stop, and keep copies an earlier run made;
// runs at once in one process each go by their own drive table.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>
#include <tuple>

#include "build/make_archive.h"
#include "support/jpeg_fixture.h"
#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::ScriptedHost;
using testing::TempDir;

// Every file of a directory with its bytes.
std::map<std::string, std::string> Files_of(const TempDir& dir, const std::string& sub) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Native(sub)))
    files[entry.path().filename().string()] =
        dir.Read(sub + "/" + entry.path().filename().string());
  return files;
}

class ParallelRunTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    for (int i = 0; i < 300; ++i)
      dir_->Write("src/p" + std::to_string(i) + ".jpg",
                  testing::Small_jpeg(40 + i % 60, 30 + i % 45));
    dir_->Write("src/broken.jpg", "not a picture");
  }
  static void TearDownTestSuite() { delete dir_; }

  ScriptedHost Host_into(const std::string& dest, int jobs) {
    dir_->Make_dir(dest);
    ScriptedHost host;
    host.mode = 3;
    host.src_dir = dir_->Win("src");
    host.dest_dir = dir_->Win(dest);
    host.copy_answer = 2;
    host.jobs = jobs;
    return host;
  }

  static TempDir* dir_;
};
TempDir* ParallelRunTest::dir_ = nullptr;

TEST_F(ParallelRunTest, SeveralThreadsWriteWhatOneThreadWrites) {
  ScriptedHost one = Host_into("one", 1);
  ScriptedHost four = Host_into("four", 4);
  Make_archive(one);
  Make_archive(four);
  EXPECT_EQ(one.status, "300 Done!");
  EXPECT_EQ(four.status, "300 Done!");
  auto files_one = Files_of(*dir_, "one");
  auto files_four = Files_of(*dir_, "four");
  // Thumbnail, display copy, copy; page, catalogue, and no lock file.
  EXPECT_EQ(files_one.size(), 3u * 300 + 2);
  ASSERT_EQ(files_one.size(), files_four.size());
  for (const auto& [name, bytes] : files_one) {
    ASSERT_TRUE(files_four.count(name)) << name;
    EXPECT_TRUE(files_four[name] == bytes) << name;
  }
}

TEST_F(ParallelRunTest, AStopLeavesNothingOfThePicturesAhead) {
  ScriptedHost host = Host_into("stopped", 4);
  host.copy_answer = 0;
  host.on_events = [](ScriptedHost& h) {
    if (h.status == "5") h.Stop();
  };
  Make_archive(host);
  EXPECT_EQ(host.status, "5 Done!");
  auto files = Files_of(*dir_, "stopped");
  size_t pictures = 0;
  for (const auto& [name, bytes] : files) pictures += name[0] == '_';
  EXPECT_EQ(pictures, 10u);  // five thumbnails, five display copies
  // Nothing else, not even a lock file: no temporary of a picture, a copy or the page is left.
  for (const auto& [name, bytes] : files)
    EXPECT_TRUE(name[0] == '_' || name == "archive.htm" || name == "archive.txt" ||
                dir_->Exists("src/" + name))
        << name;
}

TEST_F(ParallelRunTest, CopiesOfAnEarlierRunAreKeptUnlessRebuilt) {
  ScriptedHost first = Host_into("again", 2);
  first.copy_answer = 0;
  Make_archive(first);
  auto changed_since = [&](const std::string& name, timespec before) {
    struct stat st;
    ::stat(dir_->Native("again/" + name).c_str(), &st);
    return st.st_mtim.tv_sec != before.tv_sec || st.st_mtim.tv_nsec != before.tv_nsec;
  };
  std::map<std::string, timespec> times;
  for (const auto& [name, bytes] : Files_of(*dir_, "again")) {
    struct stat st;
    ::stat(dir_->Native("again/" + name).c_str(), &st);
    times[name] = st.st_mtim;
  }
  std::string display = times.rbegin()->first;  // some picture file
  for (const auto& [name, t] : times)
    if (name[0] == '_' && (name[7] == '1' || name[7] == '9' || name[7] == 'J' || name[7] == 'S'))
      display = name;
  // A damaged copy is made again, the others stay as they were.
  dir_->Write("again/" + display, "cut short");
  ScriptedHost second = Host_into("again", 2);
  second.copy_answer = 0;
  Make_archive(second);
  EXPECT_EQ(second.status, "300 Done!");
  int kept = 0;
  for (const auto& [name, t] : times)
    if (name[0] == '_' && !changed_since(name, t)) ++kept;
  EXPECT_EQ(kept, 598);  // the damaged copy's thumbnail is made again with it
  int width = 0, height = 0;
  EXPECT_TRUE(testing::Jpeg_size(dir_->Read("again/" + display), &width, &height));

  ScriptedHost rebuild = Host_into("again", 2);
  rebuild.copy_answer = 0;
  rebuild.rebuild = true;
  Make_archive(rebuild);
  int remade = 0;
  for (const auto& [name, t] : times)
    if (name[0] == '_' && changed_since(name, t)) ++remade;
  EXPECT_EQ(remade, 600);
}

// Copies whose names an earlier trip through another system turned to lower
// case are not the files the page names on a system that tells case apart:
// the run makes its copies under exactly its names, and leaves those alone.
TEST_F(ParallelRunTest, CopiesNamedInAnotherCaseAreMadeUnderThePagesNames) {
  ScriptedHost first = Host_into("lower", 2);
  first.copy_answer = 0;
  Make_archive(first);
  size_t copies = 0, all_digits = 0;
  for (const auto& [name, bytes] : Files_of(*dir_, "lower")) {
    if (name[0] != '_') continue;
    std::string lower = name;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (lower == name) {
      ++all_digits;  // a name of digits alone has no other case
      continue;
    }
    std::filesystem::rename(dir_->Native("lower/" + name), dir_->Native("lower/" + lower));
    ++copies;
  }
  ScriptedHost second = Host_into("lower", 2);
  second.copy_answer = 0;
  Make_archive(second);
  EXPECT_EQ(second.status, "300 Done!");
  size_t after = 0;
  for (const auto& [name, bytes] : Files_of(*dir_, "lower")) after += name[0] == '_';
  EXPECT_EQ(after, 2 * copies + all_digits);
}

// Two runs at once in one process, each over its own drive table: the same
// Windows paths ("D:\pics" into "D:\out") reach each run's own directories,
// for the source, the lock, the copies and the page alike.
TEST(RunsWithTheirOwnDrives, TwoRunsAtOnceEachGoWhereTheirTableSays) {
  TempDir first_d, second_d;
  for (int i = 0; i < 6; ++i) {
    first_d.Write("pics/first" + std::to_string(i) + ".jpg", testing::Small_jpeg());
    second_d.Write("pics/second" + std::to_string(i) + ".jpg", testing::Small_jpeg());
  }
  first_d.Make_dir("out");
  second_d.Make_dir("out");
  std::atomic<int> started{0};
  // Neither run goes past its first picture before the other has begun.
  auto host_on = [&](const TempDir& d) {
    ScriptedHost host;
    host.mode = 3;
    host.src_dir = "D:\\pics";
    host.dest_dir = "D:\\out";
    host.copy_answer = 2;
    host.jobs = 2;
    host.drives.Set('D', d.native(), "");
    host.on_events = [&started, waited = false](ScriptedHost&) mutable {
      if (waited) return;
      waited = true;
      ++started;
      auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
      while (started < 2 && std::chrono::steady_clock::now() < until) std::this_thread::yield();
    };
    return host;
  };
  ScriptedHost first = host_on(first_d);
  ScriptedHost second = host_on(second_d);
  std::thread other([&] { Make_archive(second); });
  Make_archive(first);
  other.join();
  EXPECT_EQ(first.status, "6 Done!") << (first.messages.empty() ? "" : first.messages[0]);
  EXPECT_EQ(second.status, "6 Done!") << (second.messages.empty() ? "" : second.messages[0]);
  for (const auto& [d, own, other_name] :
       {std::tuple{&first_d, "first", "second"}, std::tuple{&second_d, "second", "first"}}) {
    std::string catalogue = d->Read("out/archive.txt");
    for (int i = 0; i < 6; ++i)
      EXPECT_NE(catalogue.find("D:\\pics\\" + std::string(own) + std::to_string(i) + ".jpg"),
                std::string::npos)
          << own << i;
    EXPECT_EQ(catalogue.find(other_name), std::string::npos) << catalogue;
    // Thumbnail, display copy and copy of each picture; page and catalogue.
    EXPECT_EQ(Files_of(*d, "out").size(), 3u * 6 + 2) << own;
  }
}

}  // namespace
}  // namespace zendrel
