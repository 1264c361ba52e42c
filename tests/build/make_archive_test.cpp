// The run driver through a scripted host: messages, states, stops and the
// failure paths that must leave the previous archive intact.
#include "build/make_archive.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "page/page_head.h"
#include "platform/output_file.h"
#include "support/jpeg_fixture.h"
#include "support/other_writer.h"
#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::ScriptedHost;
using testing::TempDir;

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class MakeArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 1; i <= 4; ++i)
      dir.Write("src/p" + std::to_string(i) + ".jpg", testing::Small_jpeg());
    dir.Make_dir("dest");
    host.mode = 3;
    host.src_dir = dir.Win("src");
    host.dest_dir = dir.Win("dest");
  }
  TempDir dir;
  ScriptedHost host;
};

TEST_F(MakeArchiveTest, RefusesMissingAndUnsupportedSelections) {
  struct Case {
    int mode;
    const char* file;
    const char* message;
  } cases[] = {{1, "", "Select Catalog File"},
               {2, "", "Select Catalog File"},
               {5, "", "Select Archive File"},
               {1, "photos.TXT", "Catalog file type not supported"},
               {2, "list.doc", "Catalog file type not supported"},
               {5, "archive.txt", "Catalog file type not supported"}};
  for (const Case& c : cases) {
    ScriptedHost h;
    h.mode = c.mode;
    h.cat_dir = dir.Win("src");
    h.cat_file = c.file;
    h.dest_dir = dir.Win("dest");
    RunOutcome outcome = Make_archive(h);
    EXPECT_EQ(outcome.end, RunEnd::kRefused);
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0], c.message);
    EXPECT_EQ(h.copy_questions, 0);
  }
  EXPECT_FALSE(dir.Exists("dest/archive.htm"));
  EXPECT_FALSE(dir.Exists("dest/archive.txt"));
}

TEST_F(MakeArchiveTest, BuildsEveryPictureOfTheDirectory) {
  host.copy_answer = 0;
  RunOutcome outcome = Go_Click(host);
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(host.copy_questions, 1);
  EXPECT_EQ(host.go, "Go");
  EXPECT_EQ(host.status, "4 Done!");
  EXPECT_TRUE(host.messages.empty());
  std::string page = dir.Read("dest/archive.htm");
  EXPECT_EQ(Count(page, "\r\ncat.add (new Pic (\"_"), 4);
  EXPECT_NE(page.find("</html>"), std::string::npos);
  std::string staging = dir.Read("dest/archive.txt");
  EXPECT_EQ(staging.rfind("SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate\r\n", 0),
            0u);
  EXPECT_EQ(Count(staging, "\r\n"), 5);
  EXPECT_FALSE(dir.Has_temporaries("dest"));
}

// The request is taken at Go: settings changed while the run works (another
// destination, mode or source clicked) are the next run's. Progress comes
// after each picture with the listed total.
TEST_F(MakeArchiveTest, SettingsChangedDuringARunAreTheNextRunsOnly) {
  dir.Make_dir("elsewhere");
  std::vector<std::string> go_seen;
  host.on_events = [&](ScriptedHost& h) {
    h.dest_dir = dir.Win("elsewhere");
    h.src_dir = dir.Win("elsewhere");
    h.mode = 4;
    h.status.clear();  // as the window's status line is cleared by a focus change
    go_seen.push_back(h.go);
  };
  RunOutcome outcome = Make_archive(host);
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(host.status, "4 Done!");
  EXPECT_EQ(go_seen, std::vector<std::string>(4, "Stop"));
  EXPECT_EQ(Count(dir.Read("dest/archive.htm"), "cat.add (new Pic ("), 4);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Native("elsewhere")));
  std::vector<std::pair<int32_t, int32_t>> progress = {{1, 4}, {2, 4}, {3, 4}, {4, 4}};
  EXPECT_EQ(host.progress, progress);
}

TEST_F(MakeArchiveTest, AStopEndsTheRunAfterThePictureUnderWay) {
  host.on_events = [](ScriptedHost& h) {
    if (h.status == "2") Go_Click(h);  // the Stop button during the second turn
  };
  RunOutcome outcome = Go_Click(host);
  EXPECT_EQ(outcome.end, RunEnd::kStopped);
  EXPECT_EQ(host.status, "2 Done!");
  EXPECT_EQ(host.go, "Go");
  std::string page = dir.Read("dest/archive.htm");
  EXPECT_EQ(Count(page, "cat.add (new Pic ("), 2);
  EXPECT_NE(page.find("</html>"), std::string::npos);  // completed like a finished run
}

TEST_F(MakeArchiveTest, ExitDuringARunStopsItAndAfterwardsEnds) {
  bool exit_during_run = true;
  host.on_events = [&](ScriptedHost& h) {
    if (h.status == "1") exit_during_run = Exit_Click(h);
  };
  Go_Click(host);
  EXPECT_FALSE(exit_during_run);
  EXPECT_EQ(host.status, "1 Done!");
  EXPECT_TRUE(Exit_Click(host));
}

TEST_F(MakeArchiveTest, CancelledCopyQuestionWritesNothing) {
  host.copy_answer = -1;
  EXPECT_EQ(Make_archive(host).end, RunEnd::kRefused);
  EXPECT_FALSE(dir.Exists("dest/archive.htm"));
  EXPECT_FALSE(dir.Exists("dest/archive.txt"));
}

TEST_F(MakeArchiveTest, NoCopyQuestionWhenTheDestinationIsTheSource) {
  host.dest_dir = host.src_dir;
  host.copy_answer = 2;  // what an earlier run was answered
  Make_archive(host);
  EXPECT_EQ(host.copy_questions, 0);
  EXPECT_EQ(host.status, "4 Done!");
  int archive_files = 0;  // a display copy and a thumbnail each, no copy of the original
  for (const auto& entry : std::filesystem::directory_iterator(dir.Native("src")))
    archive_files += entry.path().filename().string()[0] == '_';
  EXPECT_EQ(archive_files, 8);
  // A second run over the same directory does not archive its own files.
  Make_archive(host);
  EXPECT_EQ(host.status, "4 Done!");
}

TEST_F(MakeArchiveTest, ADestinationThatCannotBeWrittenIsReported) {
  host.dest_dir = dir.Win("no such dir");
  RunOutcome outcome = Make_archive(host);
  EXPECT_EQ(outcome.end, RunEnd::kRefused);  // before anything is asked or written
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("no such dir: No such file"), std::string::npos);
  EXPECT_EQ(host.copy_questions, 0);
  EXPECT_EQ(host.go, "Go");
}

TEST_F(MakeArchiveTest, AFullDiskLeavesThePreviousArchiveIntact) {
  dir.Write("dest/archive.htm", "previous page");
  dir.Write("dest/archive.txt", "previous catalogue");
  // The disk fills after the head and about two pictures.
  size_t head = 0;
  for (const std::string& line : Page_head_lines()) head += line.size() + 2;
  Fail_writes_after_bytes_for_testing(static_cast<long long>(head) + 500);
  RunOutcome outcome = Make_archive(host);
  Fail_writes_after_bytes_for_testing(-1);
  EXPECT_EQ(outcome.end, RunEnd::kFailed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("No space left on device"), std::string::npos);
  EXPECT_EQ(dir.Read("dest/archive.htm"), "previous page");
  EXPECT_EQ(dir.Read("dest/archive.txt"), "previous catalogue");
  EXPECT_FALSE(dir.Has_temporaries("dest"));
  EXPECT_EQ(host.go, "Go");
}

TEST_F(MakeArchiveTest, AMissingSourceLeavesThePreviousArchive) {
  dir.Write("dest/archive.htm", "previous page");
  host.src_dir = dir.Win("gone");
  EXPECT_EQ(Make_archive(host).end, RunEnd::kFailed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("gone"), std::string::npos);
  EXPECT_EQ(dir.Read("dest/archive.htm"), "previous page");
  EXPECT_FALSE(dir.Exists("dest/archive.txt"));
  EXPECT_EQ(host.go, "Go");
}

TEST_F(MakeArchiveTest, AnEmptySourceStillWritesACompletePage) {
  dir.Make_dir("empty");
  host.src_dir = dir.Win("empty");
  Make_archive(host);
  EXPECT_EQ(host.status, " Done!");
  std::string page = dir.Read("dest/archive.htm");
  EXPECT_EQ(Count(page, "cat.add (new Pic ("), 0);
  EXPECT_NE(page.find("</html>"), std::string::npos);
}

TEST_F(MakeArchiveTest, ARunThatFindsNoPictureLeavesTheArchiveThere) {
  ASSERT_EQ(Make_archive(host).end, RunEnd::kCompleted);
  const std::string page = dir.Read("dest/archive.htm");
  const std::string staging = dir.Read("dest/archive.txt");
  dir.Make_dir("empty");
  dir.Write("cat/notes.txt", "shopping list\r\nmilk\r\n");
  dir.Write("cat/binary.txt", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  dir.Write("cat/photos.GAL", "these are not the bytes of a gallery\r\n");
  dir.Write("cat/photos.plb", "nor of a Photo Organizer library\r\n");
  dir.Write("cat/photos.tDB", "nor of a ThumbsPlus database\r\n");
  dir.Write("cat/photos.csv", "a,b,c\r\n1,2,3\r\n");
  dir.Write("cat/photos.mdb", "nor of an Access database\r\n");
  struct Case {
    int mode;
    const char* source;  // the source folder or the catalogue
    const char* found;   // what the message says was found
  } cases[] = {
      {3, "empty", "holds no picture"},
      {1, "notes.txt", "names no picture"},
      {1, "binary.txt", ""},
      {1, "photos.GAL", ""},
      {1, "photos.plb", ""},
      {1, "photos.tDB", ""},
      {1, "photos.csv", ""},
      {1, "photos.mdb", ""},
      {4, "", "has no subdirectory with an archive page"},
  };
  for (const Case& c : cases) {
    ScriptedHost h = host;
    h.mode = c.mode;
    if (c.mode == 3) h.src_dir = dir.Win(c.source);
    if (c.mode == 1) {
      h.cat_dir = dir.Win("cat");
      h.cat_file = c.source;
    }
    RunOutcome outcome = Make_archive(h);
    EXPECT_EQ(outcome.end, RunEnd::kFailed) << c.source;
    ASSERT_EQ(h.messages.size(), 1u) << c.source;
    EXPECT_NE(h.messages[0].find(c.found), std::string::npos) << h.messages[0];
    EXPECT_NE(h.messages[0].find("The archive in " + dir.Win("dest") + " was left as it was."),
              std::string::npos)
        << h.messages[0];
    EXPECT_EQ(dir.Read("dest/archive.htm"), page) << c.source;
    EXPECT_EQ(dir.Read("dest/archive.txt"), staging) << c.source;
    EXPECT_FALSE(dir.Has_temporaries("dest"));
  }
}

TEST_F(MakeArchiveTest, AStoppedRunThatShortensTheArchiveKeepsThePreviousPage) {
  ASSERT_EQ(Make_archive(host).end, RunEnd::kCompleted);
  const std::string four = dir.Read("dest/archive.htm");
  struct Case {
    const char* stop_at;
    bool kept;
  } cases[] = {{"1", true}, {"4", false}};
  for (const Case& c : cases) {
    dir.Write("dest/archive.htm", four);
    if (dir.Exists("dest/archive_bak.htm")) dir.Write("dest/archive_bak.htm", "earlier backup");
    ScriptedHost h = host;
    h.on_events = [&](ScriptedHost& run) {
      if (run.status == c.stop_at) Go_Click(run);
    };
    EXPECT_EQ(Go_Click(h).end, RunEnd::kStopped);
    if (c.kept) {
      EXPECT_EQ(Count(dir.Read("dest/archive.htm"), "cat.add (new Pic ("), 1);
      EXPECT_EQ(dir.Read("dest/archive_bak.htm"), four);
      ASSERT_EQ(h.messages.size(), 1u);
      EXPECT_NE(h.messages[0].find("holds 1 of the 4 records"), std::string::npos) << h.messages[0];
      EXPECT_NE(h.messages[0].find("archive_bak.htm"), std::string::npos);
    } else {
      EXPECT_TRUE(h.messages.empty());
      EXPECT_EQ(dir.Read("dest/archive_bak.htm"), "earlier backup");
    }
  }
}

TEST_F(MakeArchiveTest, ACatalogueInUseCanBeRetried) {
  dir.Write("cat/list.txt", "SourceFile\r\n");
  host.mode = 1;
  host.cat_dir = dir.Win("cat");
  host.cat_file = "list.txt";
  testing::OtherWriter other(dir.Native("cat/list.txt"));
  host.on_message = [&](const std::string&) { other.Release(); };
  host.answers = {Answer::kRetry};
  Make_archive(host);
  ASSERT_GE(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0],
            "list.txt is currently open by another program.\rPlease close the file and try again.");
  EXPECT_EQ(host.go, "Go");
  EXPECT_TRUE(dir.Exists("dest/archive.htm"));
}

TEST_F(MakeArchiveTest, ATextCatalogueNamedLikeADatabaseIsReadAsText) {
  dir.Write("cat/list.txt.mdb", "SourceFile\r\n" + dir.Win("src/p1.jpg") + "\tFirst\r\n");
  host.mode = 1;
  host.cat_dir = dir.Win("cat");
  host.cat_file = "list.txt.mdb";
  Make_archive(host);
  EXPECT_TRUE(host.messages.empty()) << host.messages[0];
  EXPECT_EQ(host.status, "1 Done!");
}

TEST_F(MakeArchiveTest, ARefusedCatalogueLeavesThePreviousPage) {
  dir.Write("dest/archive.htm", "previous page");
  host.mode = 1;
  host.cat_dir = dir.Win("cat");
  host.cat_file = "missing.txt";
  EXPECT_EQ(Make_archive(host).end, RunEnd::kRefused);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind("missing.txt Error 2", 0), 0u);
  EXPECT_EQ(dir.Read("dest/archive.htm"), "previous page");
}

}  // namespace
}  // namespace zendrel
