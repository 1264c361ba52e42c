// The command line's side of one writer per archive: a second writer is
// refused with a non-zero status, and a destination or archive is always
// the directory named exactly, never one found by a lookup.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "support/archive_page.h"
#include "support/cli_run.h"
#include "support/jpeg_fixture.h"
#include "support/other_run.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::TempDir;

using testing::CliRun;

TEST(OneWriter, EditsAndBuildsOfALockedArchiveAreRefused) {
  TempDir dir;
  dir.Make_dir("arc");
  testing::Write_archive_page(dir.Win("arc") + "\\", testing::Sample_records(2));
  dir.Write("src/a.jpg", testing::Small_jpeg());
  std::string page = dir.Read("arc/archive.htm");
  testing::OtherRun other(dir.Native("arc"));
  ASSERT_TRUE(other.holds_lock());
  CliRun edit({"edit", dir.Native("arc"), "--record", "1", "--title", "changed"});
  CliRun remove({"delete", dir.Native("arc"), "--record", "1", "--yes"});
  CliRun build({"build", "--source", dir.Native("src"), "--dest", dir.Native("arc")});
  CliRun master({"master", dir.Native("arc")});
  for (CliRun* run : {&edit, &remove, &build, &master}) {
    EXPECT_EQ(run->status, 1);
    EXPECT_NE(run->err.str().find("is being written by another Zendrel run"), std::string::npos)
        << run->err.str();
  }
  EXPECT_EQ(dir.Read("arc/archive.htm"), page);
  other.Finish();
  EXPECT_EQ(CliRun({"edit", dir.Native("arc"), "--record", "1", "--title", "changed"}).status, 0);
}

TEST(OneWriter, ANewDestinationIsMadeUnderExactlyItsName) {
  TempDir dir;
  dir.Write("src/a.jpg", testing::Small_jpeg());
  dir.Write("ci/Trip/archive.htm", "Trip's page");
  dir.Write("u/ab/archive.htm", "ab's page");
  CliRun trip({"build", "--source", dir.Native("src"), "--dest", dir.Native("ci/trip")});
  EXPECT_EQ(trip.status, 0) << trip.err.str();
  EXPECT_TRUE(dir.Exists("ci/trip/archive.htm"));
  EXPECT_EQ(dir.Read("ci/Trip/archive.htm"), "Trip's page");

  // A name the system's text cannot hold is made exactly or refused, and
  // never taken for another directory that a lookup would match.
  CliRun photos(
      {"build", "--source", dir.Native("src"), "--dest", dir.Native("u/\xE5\x86\x99\xE7\x9C\x9F")});
  if (photos.status == 0)
    EXPECT_TRUE(dir.Exists("u/\xE5\x86\x99\xE7\x9C\x9F/archive.htm"));
  else
    EXPECT_NE(photos.err.str().find("\xE5\x86\x99"), std::string::npos) << photos.err.str();
  CliRun remove({"delete", dir.Native("u/\xE5\x86\x99\xE7\x9C\x9F"), "--record", "1", "--yes"});
  EXPECT_EQ(dir.Read("u/ab/archive.htm"), "ab's page");
  CliRun edit({"edit", dir.Native("ci/trip"), "--record", "1", "--title", "t"});
  EXPECT_EQ(dir.Read("ci/Trip/archive.htm"), "Trip's page");
}

}  // namespace
}  // namespace zendrel
