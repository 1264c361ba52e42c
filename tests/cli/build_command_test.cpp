// The command line in the same process: its messages, exit statuses,
// progress line and Ctrl-C.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ext/stdio_filebuf.h>
#include <filesystem>
#include <sstream>
#include <thread>

#include "cli/cli_host.h"
#include "cli/command.h"
#include "support/cli_run.h"
#include "support/jpeg_fixture.h"
#include "support/metadata_blocks.h"
#include "support/temp_dir.h"

namespace zendrel::cli {
namespace {

using testing::CliRun;

TEST(CommandLine, BuildsAnArchiveAndShowsProgressOnATerminal) {
  testing::TempDir dir;
  dir.Write("src/a.jpg", testing::Small_jpeg());
  dir.Write("src/b.jpg", testing::Small_jpeg());
  dir.Write("src/c.jpg", "no picture");
  CliRun run({"build", "--source", dir.Native("src"), "--dest", dir.Native("out"), "--copy", "no"},
             true);
  EXPECT_EQ(run.status, 0) << run.err.str();
  // The listed directory gives the total; the skipped file is counted too.
  EXPECT_NE(run.out.str().find("\r1 of 3 pictures, "), std::string::npos) << run.out.str();
  EXPECT_NE(run.out.str().find("\r3 of 3 pictures, "), std::string::npos);
  EXPECT_NE(run.out.str().find("2 Done!\n"), std::string::npos);
  EXPECT_TRUE(dir.Exists("out/archive.htm"));
}

TEST(CommandLine, MetadataOptionFillsTheRecordsFromThePictures) {
  testing::TempDir dir;
  testing::MetadataBlocks blocks;
  blocks.title = "Harbour";
  blocks.keywords = {"sea", "boats"};
  dir.Write("src/a.jpg", testing::With_metadata_blocks(testing::Small_jpeg(), blocks));
  CliRun plain({"build", "--source", dir.Native("src"), "--dest", dir.Native("plain")});
  EXPECT_EQ(plain.status, 0) << plain.err.str();
  EXPECT_EQ(dir.Read("plain/archive.txt").find("Harbour"), std::string::npos);

  // A damaged EXIF block (its byte order gone) costs the picture only that block, and is told.
  std::string damaged = testing::With_metadata_blocks(testing::Small_jpeg(), blocks);
  damaged.replace(damaged.find(std::string("Exif\0\0", 6)) + 6, 2, "XX");
  dir.Write("src/b.jpg", damaged);
  CliRun run({"build", "--source", dir.Native("src"), "--dest", dir.Native("out"), "--metadata"});
  EXPECT_EQ(run.status, 0) << run.err.str();
  EXPECT_NE(run.err.str().find("zendrel: 1 picture archived with only the part of their metadata"),
            std::string::npos)
      << run.err.str();
  EXPECT_EQ(plain.err.str().find("metadata"), std::string::npos);
  std::string staging = dir.Read("out/archive.txt");
  EXPECT_NE(staging.find("\tHarbour\tsea, boats\t\tFishing boats waiting for the tide\tAnn "
                         "Lee\tFebruary 3, 2001\t_"),
            std::string::npos)
      << staging;

  // Only archived pictures count: one whose image cannot be read is told
  // as skipped alone. --verbose names the damaged ones.
  dir.Write("src/c.jpg", damaged.substr(0, damaged.find("\xFF\xDA")));
  CliRun verbose({"build", "--source", dir.Native("src"), "--dest", dir.Native("verbose"),
                  "--metadata", "--verbose"});
  EXPECT_NE(verbose.err.str().find("zendrel: damaged metadata in "), std::string::npos)
      << verbose.err.str();
  EXPECT_NE(verbose.err.str().find("b.jpg\n"), std::string::npos) << verbose.err.str();
  EXPECT_NE(verbose.err.str().find("zendrel: 1 picture archived with only"), std::string::npos)
      << verbose.err.str();

  CliRun with_catalog({"build", "--catalog", dir.Native("out/archive.txt"), "--dest",
                       dir.Native("again"), "--metadata"});
  EXPECT_EQ(with_catalog.status, 2);
  EXPECT_NE(with_catalog.err.str().find("--metadata"), std::string::npos);
}

TEST(CommandLine, RefusedRunsExitNonZeroWithTheReason) {
  testing::TempDir dir;
  dir.Write("cat/photos.TXT", "");
  CliRun refused({"build", "--catalog", dir.Native("cat/photos.TXT"), "--dest", dir.Native("out")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err.str(), "zendrel: Catalog file type not supported\n");

  CliRun missing({"build", "--catalog", dir.Native("cat/gone.txt"), "--dest", dir.Native("out")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.str().find("gone.txt Error 2"), std::string::npos);

  CliRun usage({"build", "--source"});
  EXPECT_EQ(usage.status, 2);
  CliRun bad_copy({"build", "--source", "a", "--dest", "b", "--copy", "maybe"});
  EXPECT_EQ(bad_copy.status, 2);
  CliRun bad_drive({"build", "--source", "a", "--dest", "b", "--drive", "D=relative"});
  EXPECT_EQ(bad_drive.status, 2);
  CliRun unknown({"frobnicate"});
  EXPECT_EQ(unknown.status, 2);
}

TEST(CommandLine, AMissingSourceLeavesTheExistingArchiveAlone) {
  testing::TempDir dir;
  dir.Write("src/a.jpg", testing::Small_jpeg());
  CliRun first(
      {"build", "--source", dir.Native("src"), "--dest", dir.Native("out"), "--copy", "no"});
  ASSERT_EQ(first.status, 0) << first.err.str();
  std::string page = dir.Read("out/archive.htm");
  for (const char* catalog : {"", "out/archive.txt"}) {
    std::vector<std::string> args{
        "build", "--source", dir.Native("srx"), "--dest", dir.Native("out"), "--copy", "no"};
    if (*catalog) args.insert(args.end(), {"--catalog", dir.Native(catalog)});
    CliRun typo(args);
    EXPECT_EQ(typo.status, 1);
    EXPECT_NE(typo.err.str().find("srx: no such directory"), std::string::npos) << typo.err.str();
    EXPECT_EQ(dir.Read("out/archive.htm"), page);
  }
  CliRun elsewhere({"build", "--source", dir.Native("srx"), "--dest", dir.Native("new")});
  EXPECT_EQ(elsewhere.status, 1);
  EXPECT_FALSE(dir.Exists("new"));
}

// PATH as one test needs it, restored afterwards.
class PathFor {
 public:
  // `dirs` comes first; the usual PATH follows unless `alone`.
  PathFor(const std::string& dirs, bool alone)
      : old_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    setenv("PATH", (alone ? dirs : dirs + ":" + old_).c_str(), 1);
  }
  ~PathFor() { setenv("PATH", old_.c_str(), 1); }

 private:
  std::string old_;
};

TEST(CommandLine, OpenShowsTheFinishedPageInTheBrowser) {
  testing::TempDir dir;
  dir.Write("src/a.jpg", testing::Small_jpeg());
  // A stand-in for the desktop's opener that notes what it was asked to open.
  std::string opener = dir.Write("bin/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.asked\"\n");
  chmod(opener.c_str(), 0755);
  PathFor path(dir.Native("bin"), false);

  CliRun plain(
      {"build", "--source", dir.Native("src"), "--dest", dir.Native("out"), "--copy", "no"});
  EXPECT_EQ(plain.status, 0) << plain.err.str();
  EXPECT_FALSE(dir.Exists("bin/xdg-open.asked"));

  CliRun open({"build", "--source", dir.Native("src"), "--dest", dir.Native("out"), "--copy", "no",
               "--open"});
  EXPECT_EQ(open.status, 0) << open.err.str();
  ::wait(nullptr);  // the opener is this process's only child
  EXPECT_EQ(dir.Read("bin/xdg-open.asked"), dir.Native("out/archive.htm"));
}

TEST(CommandLine, OpenWithoutAnOpenerSaysSoAndFails) {
  testing::TempDir dir;
  dir.Write("src/a.jpg", testing::Small_jpeg());
  dir.Make_dir("bin");
  PathFor path(dir.Native("bin"), true);
  CliRun open({"build", "--source", dir.Native("src"), "--dest", dir.Native("out"), "--copy", "no",
               "--open"});
  EXPECT_EQ(open.status, 1);
  EXPECT_TRUE(dir.Exists("out/archive.htm"));  // the archive itself was made
  EXPECT_EQ(open.err.str(), "zendrel: " + dir.Win("out") +
                                "\\archive.htm: cannot be opened in a web browser: xdg-open: "
                                "No such file or directory\n");
}

TEST(CommandLine, HelpAndVersion) {
  CliRun version({"--version"});
  EXPECT_EQ(version.out.str(), "Zendrel 1.1.0\n");
  CliRun help({"--help"});
  EXPECT_NE(help.out.str().find("build"), std::string::npos);
  CliRun build_help({"build", "--help"});
  EXPECT_NE(build_help.out.str().find("--copy no|keep|rename"), std::string::npos);
}

TEST(CliHost, CtrlCIsTheStopButton) {
  std::ostringstream out, err;
  Streams io{out, err, false};
  CliHost host(io);
  host.Catch_interrupt();
  std::raise(SIGINT);
  host.Do_events();
  EXPECT_TRUE(host.stop_requested());
}

// Whether a file whose name starts with '_' (a thumbnail) is in `dir`.
bool Has_thumbnail(const std::string& dir) {
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().filename().string()[0] == '_') return true;
  }
  return false;
}

// Ctrl-C during a build: the page is completed with the pictures done so
// far, and the exit status tells a script that the archive is partial. The
// run writes its progress line into a small pipe that is read only after
// Ctrl-C, so it cannot finish first however fast the machine is.
TEST(CommandLine, CtrlCCompletesThePageAndExitsWith130) {
  testing::TempDir dir;
  constexpr int kPictures = 400;
  std::string jpeg = testing::Small_jpeg();
  for (int i = 0; i < kPictures; ++i) dir.Write("src/p" + std::to_string(i) + ".jpg", jpeg);
  mkdir(dir.Native("out").c_str(), 0755);
  int progress[2];
  ASSERT_EQ(pipe(progress), 0);
  int room = fcntl(progress[1], F_SETPIPE_SZ, 4096);
  // About 30 bytes a picture: the pipe fills long before the last one.
  ASSERT_GT(room, 0);
  ASSERT_LT(room, kPictures * 20);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(progress[0]);
    __gnu_cxx::stdio_filebuf<char> pipe_buffer(progress[1], std::ios::out);
    std::ostream out(&pipe_buffer);
    std::ostringstream err;
    Streams io{out, err, true};
    _exit(Run_command_line(
        {"build", "--source", dir.Native("src"), "--dest", dir.Native("out"), "--jobs", "1"}, io));
  }
  close(progress[1]);
  // Interrupted once the first thumbnail is written: the run is under way.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!Has_thumbnail(dir.Native("out"))) {
    pid_t ended = waitpid(child, nullptr, WNOHANG);
    if (ended == 0 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      continue;
    }
    if (ended == 0) {
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
    }
    close(progress[0]);
    FAIL() << (ended == 0 ? "the run wrote no thumbnail within 60 s"
                          : "the run ended before writing a thumbnail");
  }
  kill(child, SIGINT);
  char buffer[4096];
  while (read(progress[0], buffer, sizeof buffer) > 0) {
  }
  close(progress[0]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130);
  std::string page = dir.Read("out/archive.htm");
  EXPECT_NE(page.find("var pickedItem;"), std::string::npos);  // the page's tail
  EXPECT_LT(std::count(page.begin(), page.end(), '\n'), kPictures * 5);
}

TEST(CliHost, MessagesGoToStandardErrorInUtf8) {
  std::ostringstream out, err;
  Streams io{out, err, false};
  CliHost host(io);
  EXPECT_EQ(host.Message_box("caf\xE9.txt is open.\rPlease close it.", Buttons::kRetryCancel),
            Answer::kCancel);
  EXPECT_EQ(err.str(), "zendrel: caf\xC3\xA9.txt is open.\nPlease close it.\n");
}

}  // namespace
}  // namespace zendrel::cli
