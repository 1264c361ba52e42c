// Whole runs from a PhotoRecall database: through the run driver and
// through the command line.
#include <gtest/gtest.h>

#include <sstream>

#include "build/make_archive.h"
#include "cli/command.h"
#include "support/mdb_fixture.h"
#include "support/scripted_host.h"
#include "support/temp_dir.h"
#include "support/tiny_jpeg.h"

namespace zendrel {
namespace {

using testing::Make_mdb;
using testing::ScriptedHost;
using testing::TempDir;

// pics/a.jpg exists, pics/gone.jpg does not; cat/photos.mdb names both.
std::string Make_catalogue(const TempDir& dir) {
  dir.Write("pics/a.jpg", testing::Tiny_jpeg());
  dir.Make_dir("out");
  using testing::MdbType;
  return Make_mdb(dir, "cat/photos.mdb",
                  {{"GA_PicInfo",
                    {{"Source", MdbType::kText},
                     {"Name", MdbType::kText},
                     {"DATA1", MdbType::kText},
                     {"DATA2", MdbType::kText},
                     {"Description", MdbType::kMemo},
                     {"MEMO1", MdbType::kMemo},
                     {"DateCreated", MdbType::kDateTime}},
                    {{{"Source", dir.Win("pics/a.jpg")},
                      {"Name", "Harbour"},
                      {"DATA1", "boats"},
                      {"DATA2", "travel"},
                      {"Description", "two\r\nlines \"quoted\""},
                      {"MEMO1", "Ann"},
                      {"DateCreated", "1998-07-24T00:00:00"}},
                     {{"Source", std::nullopt}, {"Name", "no source"}},
                     {{"Source", dir.Win("pics/gone.jpg")}}}}});
}

// Mode 1 with cat/photos.mdb, into out.
ScriptedHost Catalogue_host(const TempDir& dir) {
  ScriptedHost host;
  host.mode = 1;
  host.cat_dir = dir.Win("cat");
  host.cat_file = "photos.mdb";
  host.dest_dir = dir.Win("out");
  return host;
}

TEST(MdbArchive, TheRunDriverBuildsAnArchiveFromADatabase) {
  TempDir dir;
  Make_catalogue(dir);
  ScriptedHost host = Catalogue_host(dir);
  RunOutcome outcome = Make_archive(host);
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_TRUE(host.messages.empty()) << host.messages.front();
  EXPECT_EQ(host.go, "Go");
  std::string staging = dir.Read("out/archive.txt");
  EXPECT_EQ(staging.substr(0, staging.find("\r\n")),
            "SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate");
  ASSERT_TRUE(dir.Exists("out/archive.htm"));
  EXPECT_EQ(host.status, "1 Done!");
  std::string expected_line =
      dir.Win("pics/a.jpg") +
      "\tHarbour\tboats\ttravel\ttwo  lines \"quoted\"\tAnn\tJuly 24, 1998\t";
  EXPECT_NE(staging.find("\r\n" + expected_line), std::string::npos) << staging;
  std::string page = dir.Read("out/archive.htm");
  EXPECT_NE(
      page.find("\"Harbour\", \"boats\",\r\n  \"travel\", \"two\\r\\nlines \\x22quoted\\x22\","),
      std::string::npos);
  EXPECT_NE(page.find("\"Ann\", \"July 24, 1998\"));"), std::string::npos);
}

TEST(MdbArchive, ADamagedDatabaseIsArchivedAsFarAsItGoesAndNamed) {
  TempDir dir;
  Make_catalogue(dir);
  std::string whole = dir.Read("cat/photos.mdb");
  dir.Write("cat/photos.mdb", whole.substr(0, whole.size() - 1000));
  ScriptedHost host = Catalogue_host(dir);
  RunOutcome outcome = Make_archive(host);
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0],
            dir.Win("cat/photos.mdb") + ": the file is truncated (its last page is incomplete)");
  EXPECT_TRUE(dir.Exists("out/archive.htm"));
  EXPECT_EQ(host.go, "Go");
}

TEST(MdbArchive, TheCommandLineBuildsFromADatabase) {
  TempDir dir;
  std::string mdb = Make_catalogue(dir);
  std::ostringstream out, err;
  cli::Streams io{out, err};
  int status = cli::Run_command_line(
      {"build", "--catalog", mdb, "--dest", dir.Native("out"), "--copy", "no"}, io);
  EXPECT_EQ(status, 0) << err.str();
  EXPECT_NE(out.str().find("Done!"), std::string::npos);
  EXPECT_TRUE(dir.Exists("out/archive.htm"));
  EXPECT_TRUE(dir.Exists("out/archive.txt"));

  dir.Write("cat/bad.mdb", "not a database");
  std::ostringstream out2, err2;
  cli::Streams io2{out2, err2};
  status = cli::Run_command_line(
      {"build", "--catalog", dir.Native("cat/bad.mdb"), "--dest", dir.Native("out")}, io2);
  EXPECT_EQ(status, 1);
  EXPECT_NE(err2.str().find("bad.mdb: not an Access database"), std::string::npos) << err2.str();
}

}  // namespace
}  // namespace zendrel
