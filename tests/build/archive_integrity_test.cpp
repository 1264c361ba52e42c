// Fault injection over the file layer and the run driver: a second writer,
// failures at each step of the commit, planted links, copies over the
// user's files, leftovers of a killed run, special files. In every case the
// previous archive and every file of the user stay as they were.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "build/make_archive.h"
#include "catalog/fixtures/gal_writer.h"
#include "edit/editor_session.h"
#include "edit/rewrite_archive.h"
#include "page/archive_page_reader.h"
#include "platform/archive_lock.h"
#include "platform/kept_files.h"
#include "platform/output_file.h"
#include "platform/posix_file.h"
#include "support/archive_page.h"
#include "support/jpeg_fixture.h"
#include "support/other_run.h"
#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::OtherRun;
using testing::ScriptedHost;
using testing::TempDir;

class ArchiveIntegrityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 1; i <= 3; ++i)
      dir.Write("src/p" + std::to_string(i) + ".jpg", testing::Small_jpeg(64 + i, 48));
    dir.Make_dir("dest");
    host.mode = 3;
    host.jobs = 1;
    host.src_dir = dir.Win("src");
    host.dest_dir = dir.Win("dest");
  }
  void TearDown() override {
    Fail_writes_after_bytes_for_testing(-1);
    Fail_rename_for_testing(0);
  }
  void Previous_archive() {
    dir.Write("dest/archive.htm", "previous page");
    dir.Write("dest/archive.txt", "previous catalogue");
  }
  void Expect_previous_archive() {
    EXPECT_EQ(dir.Read("dest/archive.htm"), "previous page");
    EXPECT_EQ(dir.Read("dest/archive.txt"), "previous catalogue");
    EXPECT_FALSE(dir.Has_temporaries("dest"));
  }
  TempDir dir;
  ScriptedHost host;
};

TEST_F(ArchiveIntegrityTest, ASecondWriterIsRefusedAtOnceAndChangesNothing) {
  Previous_archive();
  {
    OtherRun other(dir.Native("dest"));
    ASSERT_TRUE(other.holds_lock());
    RunOutcome outcome = Make_archive(host);
    EXPECT_EQ(outcome.end, RunEnd::kRefused);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(
        host.messages[0].rfind(dir.Win("dest") + " is being written by another Zendrel run", 0),
        0u);
    EXPECT_EQ(host.copy_questions, 0);
    Expect_previous_archive();

    // An editor opened meanwhile cannot write either.
    ArchiveLock lock;
    EXPECT_FALSE(lock.Acquire(testing::Root_drives(), dir.Win("dest")).ok());
  }
  host.messages.clear();
  EXPECT_EQ(Make_archive(host).end, RunEnd::kCompleted);
  EXPECT_EQ(host.status, "3 Done!");
}

TEST_F(ArchiveIntegrityTest, AnOpenEditorHoldsItsArchiveUntilClosed) {
  testing::Write_archive_page(dir.Win("dest") + "\\", testing::Sample_records(2));
  RecordTable table;
  ASSERT_TRUE(Read_archive_page(testing::Root_drives(), dir.Win("dest") + "\\", table).ok());
  std::string page = dir.Read("dest/archive.htm");
  {
    EditorSession editor(testing::Root_drives(), table);
    EXPECT_TRUE(editor.lock.held());
    EXPECT_EQ(Make_archive(host).end, RunEnd::kRefused);
    EXPECT_EQ(dir.Read("dest/archive.htm"), page);
    // A second editor on the same archive may look, but its change is refused.
    RecordTable other_table;
    ASSERT_TRUE(
        Read_archive_page(testing::Root_drives(), dir.Win("dest") + "\\", other_table).ok());
    EditorSession other(testing::Root_drives(), other_table);
    EXPECT_FALSE(other.lock.held());
    EXPECT_FALSE(Rewrite_archive(other).ok());
    EXPECT_TRUE(Rewrite_archive(editor).ok());
  }
  host.messages.clear();
  EXPECT_EQ(Make_archive(host).end, RunEnd::kCompleted);
}

TEST_F(ArchiveIntegrityTest, AFailureAtAnyStepOfTheCommitKeepsThePreviousArchive) {
  Previous_archive();
  dir.Write("dest/texture.jpg", "the user's background");
  // After the last picture: the first rename (the catalogue) fails, then
  // the second (the page), when the catalogue already replaced is put back;
  // then the disk fills as the page's tail is written out.
  for (int step = 1; step <= 3; ++step) {
    ScriptedHost h = host;
    h.on_events = [step](ScriptedHost& run) {
      if (run.status != "3") return;
      if (step < 3) Fail_rename_for_testing(step);
      if (step == 3) Fail_writes_after_bytes_for_testing(0);
    };
    EXPECT_EQ(Make_archive(h).end, RunEnd::kFailed) << step;
    Fail_rename_for_testing(0);
    Fail_writes_after_bytes_for_testing(-1);
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_NE(h.messages[0].find(step < 3 ? "Input/output error" : "No space left"),
              std::string::npos)
        << h.messages[0];
    EXPECT_EQ(h.status.find("Done!"), std::string::npos);
    Expect_previous_archive();
  }
  ScriptedHost h = host;
  EXPECT_EQ(Make_archive(h).end, RunEnd::kCompleted);
  EXPECT_NE(dir.Read("dest/archive.htm"), "previous page");
  EXPECT_EQ(dir.Read("dest/texture.jpg"), "the user's background");
}

// Names the commit keeps for putting things back, left in `relative`.
int Kept_names(const TempDir& dir, const std::string& relative) {
  int kept = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Native(relative)))
    kept += entry.path().filename().string().rfind(".zendrel-", 0) == 0;
  return kept;
}

TEST_F(ArchiveIntegrityTest, AKillAtAnyStepOfTheCommitIsPutRightByTheNextRun) {
  // The commit's steps: keep the catalogue, keep the page, rename each,
  // the done-marker, then remove the two kept names and the marker. Up to
  // the marker the next run puts the old pair back; after it, the new pair
  // stands. Never a new catalogue beside an old page.
  for (int step = 1; step <= 8; ++step) {
    Previous_archive();
    ScriptedHost h = host;
    Kill_commit_at_step_for_testing(step);
    Make_archive(h);
    Kill_commit_at_step_for_testing(0);
    ArchiveLock next_run;
    ASSERT_TRUE(next_run.Acquire(testing::Root_drives(), dir.Win("dest")).ok()) << step;
    bool old_page = dir.Read("dest/archive.htm") == "previous page";
    bool old_catalogue = dir.Read("dest/archive.txt") == "previous catalogue";
    EXPECT_EQ(old_page, step <= 5) << step;
    EXPECT_EQ(old_catalogue, old_page) << step;
    EXPECT_EQ(Kept_names(dir, "dest"), 0) << step;
    next_run.Release();
    ScriptedHost after = host;
    EXPECT_EQ(Make_archive(after).end, RunEnd::kCompleted) << step;
    EXPECT_NE(dir.Read("dest/archive.htm").find("p3.jpg"), std::string::npos);
  }
  // A first commit killed before its marker leaves no archive at all.
  std::filesystem::remove(dir.Native("dest/archive.htm"));
  std::filesystem::remove(dir.Native("dest/archive.txt"));
  Kill_commit_at_step_for_testing(5);
  ScriptedHost first = host;
  Make_archive(first);
  Kill_commit_at_step_for_testing(0);
  ArchiveLock next_run;
  ASSERT_TRUE(next_run.Acquire(testing::Root_drives(), dir.Win("dest")).ok());
  EXPECT_FALSE(dir.Exists("dest/archive.htm"));
  EXPECT_FALSE(dir.Exists("dest/archive.txt"));
}

TEST_F(ArchiveIntegrityTest, TheUsersFilesKeepTheirNamesAndPermissions) {
  Previous_archive();
  // Names like the program's, but not of its making.
  for (const char* name : {".zendrel-my-notes.tmp", ".zendrel-notes.tmp", ".zendrel-kept-mine",
                           ".zendrel-ABCDEFGHIJKL.tmp"})
    dir.Write(std::string("dest/") + name, "the user's");
  ASSERT_EQ(::chmod(dir.Native("dest/archive.htm").c_str(), 0600), 0);
  ASSERT_EQ(::chmod(dir.Native("dest/archive.txt").c_str(), 0640), 0);
  EXPECT_EQ(Make_archive(host).end, RunEnd::kCompleted);
  auto mode = [&](const std::string& name) {
    struct stat info;
    return ::stat(dir.Native(name).c_str(), &info) == 0 ? int(info.st_mode & 07777) : -1;
  };
  EXPECT_EQ(mode("dest/archive.htm"), 0600);
  EXPECT_EQ(mode("dest/archive.txt"), 0640);
  for (const char* name : {".zendrel-my-notes.tmp", ".zendrel-notes.tmp", ".zendrel-kept-mine",
                           ".zendrel-ABCDEFGHIJKL.tmp"})
    EXPECT_EQ(dir.Read(std::string("dest/") + name), "the user's") << name;
  EXPECT_FALSE(dir.Exists("dest/.zendrel.lock"));

  // An edit keeps them too, and its backup is no more open than the page.
  RecordTable table;
  ASSERT_TRUE(Read_archive_page(testing::Root_drives(), dir.Win("dest") + "\\", table).ok());
  {
    EditorSession editor(testing::Root_drives(), table);
    ASSERT_TRUE(Rewrite_archive(editor).ok());
  }
  EXPECT_EQ(mode("dest/archive.htm"), 0600);
  EXPECT_EQ(mode("dest/archive_bak.htm") & 077, 0);

  // A read-only page is refused, not made writable.
  std::string page = dir.Read("dest/archive.htm");
  ASSERT_EQ(::chmod(dir.Native("dest/archive.htm").c_str(), 0444), 0);
  ScriptedHost again = host;
  EXPECT_EQ(Make_archive(again).end, RunEnd::kFailed);
  ASSERT_EQ(again.messages.size(), 1u);
  EXPECT_NE(again.messages[0].find("archive.htm: is read-only"), std::string::npos)
      << again.messages[0];
  EXPECT_EQ(mode("dest/archive.htm"), 0444);
  EXPECT_EQ(dir.Read("dest/archive.htm"), page);
}

TEST_F(ArchiveIntegrityTest, PlantedLinksAreNeverWrittenThrough) {
  dir.Write("outside.txt", "not the program's");
  // The old fixed temporary names, and a leftover name of the present kind.
  for (const char* name : {"archive.htm.tmp", "archive.txt.tmp", ".zendrel-planted00000.tmp"})
    std::filesystem::create_symlink(dir.Native("outside.txt"), dir.Native("dest/") + name);
  std::filesystem::create_symlink(dir.Native("outside.txt"), dir.Native("dest/.zendrel.lock.x"));
  EXPECT_EQ(Make_archive(host).end, RunEnd::kCompleted);
  EXPECT_EQ(dir.Read("outside.txt"), "not the program's");
  // The leftover of the present kind is removed (the link, not its target).
  EXPECT_FALSE(std::filesystem::is_symlink(dir.Native("dest/.zendrel-planted00000.tmp")));

  // The lock is the folder itself: a link under the old lock file's name
  // is neither followed nor removed, and in nobody's way.
  TempDir other;
  other.Make_dir("dest");
  std::filesystem::create_symlink(dir.Native("outside.txt"), other.Native("dest/.zendrel.lock"));
  ArchiveLock lock;
  EXPECT_TRUE(lock.Acquire(testing::Root_drives(), other.Win("dest")).ok());
  EXPECT_EQ(dir.Read("outside.txt"), "not the program's");
  EXPECT_TRUE(std::filesystem::is_symlink(other.Native("dest/.zendrel.lock")));
}

TEST_F(ArchiveIntegrityTest, AKilledCopyIsMadeAgainWholeWithTheOriginalsTime) {
  // What a run killed during its copy left: a part of the copy under a
  // private name, and nothing under the copy's own name.
  dir.Write("dest/.zendrel-killed000000.tmp", testing::Small_jpeg(65, 48).substr(0, 100));
  struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, dir.Native("src/p1.jpg").c_str(), times, 0), 0);
  host.copy_answer = 1;
  EXPECT_EQ(Make_archive(host).end, RunEnd::kCompleted);
  EXPECT_FALSE(dir.Has_temporaries("dest"));
  EXPECT_EQ(dir.Read("dest/p1.jpg"), dir.Read("src/p1.jpg"));
  struct stat copy;
  ASSERT_EQ(::stat(dir.Native("dest/p1.jpg").c_str(), &copy), 0);
  EXPECT_EQ(copy.st_mtim.tv_sec, 1000000000);
}

TEST_F(ArchiveIntegrityTest, AFailedCopyFailsTheRun) {
  Previous_archive();
  // An original large enough that its copy meets the full disk.
  std::string big = testing::Small_jpeg(64, 48) + std::string(400000, 'x');
  dir.Write("src/p1.jpg", big);
  host.copy_answer = 2;
  Fail_writes_after_bytes_for_testing(200000);
  RunOutcome outcome = Make_archive(host);
  Fail_writes_after_bytes_for_testing(-1);
  EXPECT_EQ(outcome.end, RunEnd::kFailed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("No space left on device"), std::string::npos);
  EXPECT_EQ(host.status.find("Done!"), std::string::npos);
  Expect_previous_archive();
}

TEST_F(ArchiveIntegrityTest, ACopyNeverReplacesADifferentFile) {
  dir.Write("dest/p1.jpg", "the user's own picture");
  dir.Write("dest/p2.jpg", dir.Read("src/p2.jpg"));  // the same bytes: kept as it is
  dir.Write("src/a:b.jpg", testing::Small_jpeg(70, 48));
  host.copy_answer = 1;
  EXPECT_EQ(Make_archive(host).end, RunEnd::kCompleted);
  EXPECT_EQ(dir.Read("dest/p1.jpg"), "the user's own picture");
  EXPECT_EQ(dir.Read("dest/p2.jpg"), dir.Read("src/p2.jpg"));
  EXPECT_EQ(dir.Read("dest/a:b.jpg"), dir.Read("src/a:b.jpg"));
  // p1's copy went under its unique copy name instead: the only file of the
  // destination, besides the originals' names, that holds p1's bytes.
  int copies_of_p1 = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Native("dest"))) {
    if (entry.is_regular_file() &&
        dir.Read("dest/" + entry.path().filename().string()) == dir.Read("src/p1.jpg"))
      ++copies_of_p1;
  }
  EXPECT_EQ(copies_of_p1, 1);
}

TEST_F(ArchiveIntegrityTest, SpecialFilesAreRefusedWithoutWaiting) {
  dir.Make_dir("cat");
  ASSERT_EQ(::mkfifo(dir.Native("cat/photos.txt").c_str(), 0644), 0);
  host.mode = 1;
  host.cat_dir = dir.Win("cat");
  host.cat_file = "photos.txt";
  EXPECT_EQ(Make_archive(host).end, RunEnd::kRefused);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("pipe"), std::string::npos) << host.messages[0];

  // An archive page that is a pipe: the editor's reading refuses it too.
  ASSERT_EQ(::mkfifo(dir.Native("cat/archive.htm").c_str(), 0644), 0);
  ScriptedHost editor = host;
  editor.messages.clear();
  editor.cat_file = "archive.htm";
  EXPECT_EQ(Make_archive(editor).end, RunEnd::kFailed);
  EXPECT_EQ(editor.editor_shown, 0);
}

TEST_F(ArchiveIntegrityTest, ADestinationThatCannotTakeThePageFailsBeforeAnyPicture) {
  dir.Make_dir("dest/archive.htm");
  RunOutcome outcome = Make_archive(host);
  EXPECT_EQ(outcome.end, RunEnd::kFailed);
  EXPECT_EQ(host.events, 0);  // no picture was processed
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("archive.htm: is a directory"), std::string::npos);
}

TEST_F(ArchiveIntegrityTest, ADamagedCatalogueLeavesAnExistingArchiveAsItWas) {
  Previous_archive();
  testing::GalFile gal = testing::Write_gal(
      {{dir.Win("src/p1.jpg"), "A", ""}, {dir.Win("src/p2.jpg"), "B", ""}, {"C:\\c.jpg", "C", ""}});
  gal.bytes.resize(size_t(gal.records[2] + 30));  // the third record is cut off
  dir.Write("cat/photos.GAL", gal.bytes);
  host.mode = 1;
  host.cat_dir = dir.Win("cat");
  host.cat_file = "photos.GAL";
  EXPECT_EQ(Make_archive(host).end, RunEnd::kFailed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind(dir.Win("cat/photos.GAL") + ": picture record 3", 0), 0u);
  Expect_previous_archive();
}

// Each archive copy's inode by name: a copy made anew has a new one.
std::map<std::string, ino_t> Copies_of(const TempDir& dir) {
  std::map<std::string, ino_t> copies;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Native("dest"))) {
    std::string name = entry.path().filename().string();
    struct stat info;
    if (name[0] == '_' && ::stat(entry.path().c_str(), &info) == 0) copies[name] = info.st_ino;
  }
  return copies;
}

TEST_F(ArchiveIntegrityTest, KeptCopiesBelongToTheirPicture) {
  EXPECT_EQ(Make_archive(host).end, RunEnd::kCompleted);
  auto first = Copies_of(dir);
  ASSERT_EQ(first.size(), 6u);
  EXPECT_EQ(Copies_of(dir), first);
  // Another picture under p1's name, with p1's time: its names are p1's.
  struct stat p1;
  ASSERT_EQ(::stat(dir.Native("src/p1.jpg").c_str(), &p1), 0);
  dir.Write("src/p1.jpg", testing::Small_jpeg(90, 60));
  struct timespec times[2] = {p1.st_atim, p1.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, dir.Native("src/p1.jpg").c_str(), times, 0), 0);
  ScriptedHost again = host;
  EXPECT_EQ(Make_archive(again).end, RunEnd::kCompleted);
  auto second = Copies_of(dir);
  ASSERT_EQ(second.size(), 6u);
  int remade = 0;
  for (const auto& [name, inode] : second) remade += first[name] != inode;
  EXPECT_EQ(remade, 2);  // p1's display copy and thumbnail, the others kept
  ScriptedHost unchanged = host;
  EXPECT_EQ(Make_archive(unchanged).end, RunEnd::kCompleted);
  EXPECT_EQ(Copies_of(dir), second);
}

TEST(PosixFileTest, AtomicFileLeavesTheTargetUntilReplaced) {
  TempDir dir;
  dir.Write("page", "old");
  AtomicFile file;
  ASSERT_TRUE(file.Create(dir.Native("page"), "page").ok());
  ASSERT_TRUE(file.Write("new").ok());
  ASSERT_TRUE(file.Finish().ok());
  EXPECT_EQ(dir.Read("page"), "old");
  EXPECT_TRUE(dir.Has_temporaries());
  ASSERT_TRUE(file.Replace().ok());
  EXPECT_EQ(dir.Read("page"), "new");
  EXPECT_FALSE(dir.Has_temporaries());

  AtomicFile dropped;
  ASSERT_TRUE(dropped.Create(dir.Native("page"), "page").ok());
  ASSERT_TRUE(dropped.Write("lost").ok());
  dropped.Discard();
  EXPECT_EQ(dir.Read("page"), "new");
  EXPECT_FALSE(dir.Has_temporaries());
}

}  // namespace
}  // namespace zendrel
