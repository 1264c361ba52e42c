// The run driver with catalogues: the type pre-check on the file name, the
// dispatch on the whole path, the destination's own archive.txt, and a
// damaged catalogue.
#include <gtest/gtest.h>

#include "build/make_archive.h"
#include "catalog/fixtures/archive_check.h"
#include "catalog/fixtures/gal_writer.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "support/scripted_host.h"
#include "support/temp_dir.h"
#include "support/tiny_jpeg.h"

namespace zendrel::testing {
namespace {

class CatalogueRun : public ::testing::Test {
 protected:
  void SetUp() override {
    photos.Write("a.jpg", Tiny_jpeg());
    photos.Write("b.jpg", Tiny_jpeg());
    host.mode = 1;
    host.cat_dir = catalogues.Win();
    host.dest_dir = dest.Win();
  }
  std::string Text_catalogue() {
    return "SourceFile\tTitle\r\n" + photos.Win("a.jpg") + "\tA\r\n" + photos.Win("b.jpg") +
           "\tB\r\n";
  }
  TempDir photos, catalogues, dest;
  ScriptedHost host;
};

TEST_F(CatalogueRun, TypeTestsMatchCaseExactly) {
  for (const char* name : {"photos.TXT", "photos.gal", "photos.tdb", "photos.PLB", "photos.CSV"}) {
    catalogues.Write(name, Text_catalogue());
    host.cat_file = name;
    host.messages.clear();
    RunOutcome outcome = Make_archive(host);
    EXPECT_EQ(outcome.end, RunEnd::kRefused) << name;
    EXPECT_EQ(host.messages, std::vector<std::string>{"Catalog file type not supported"}) << name;
    EXPECT_FALSE(dest.Exists("archive.htm"));  // nothing opened
  }
  EXPECT_EQ(host.copy_questions, 0);
}

TEST_F(CatalogueRun, DispatchLooksAtTheWholePath) {
  // The name passes the check as ".plb"; the directory's ".txt" then wins.
  catalogues.Write("old.txt.d/photos.plb", Text_catalogue());
  host.cat_dir = catalogues.Win("old.txt.d");
  host.cat_file = "photos.plb";
  RunOutcome outcome = Make_archive(host);
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(host.status, "2 Done!");  // both text lines were read as pictures
}

TEST_F(CatalogueRun, TheDestinationsOwnCatalogueIsReplacedAfterAFullRun) {
  std::string old_catalogue = Text_catalogue();
  dest.Write("archive.txt", old_catalogue);
  host.cat_dir = dest.Win();
  host.cat_file = "archive.txt";
  RunOutcome outcome = Make_archive(host);
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(host.status, "2 Done!");  // read completely
  EXPECT_FALSE(dest.Exists("archive2.txt"));
  Expect_staging(dest.Read("archive.txt"),
                 {photos.Win("a.jpg") + "\tA\t\t\t\t\t", photos.Win("b.jpg") + "\tB\t\t\t\t\t"});
}

TEST_F(CatalogueRun, AStopLeavesTheOwnCatalogueAndArchive2) {
  std::string old_catalogue = Text_catalogue();
  dest.Write("archive.txt", old_catalogue);
  host.cat_dir = dest.Win();
  host.cat_file = "archive.txt";
  host.on_events = [](ScriptedHost& h) { h.Stop(); };
  RunOutcome outcome = Make_archive(host);
  EXPECT_EQ(outcome.end, RunEnd::kStopped);
  EXPECT_EQ(host.status, "1 Done!");
  EXPECT_EQ(dest.Read("archive.txt"), old_catalogue);
  ASSERT_TRUE(dest.Exists("archive2.txt"));
  Expect_staging(dest.Read("archive2.txt"), {photos.Win("a.jpg") + "\tA\t\t\t\t\t"});
}

TEST_F(CatalogueRun, ADamagedCatalogueKeepsWhatWasReadAndSaysWhy) {
  GalFile gal = Write_gal(
      {{photos.Win("a.jpg"), "A", ""}, {photos.Win("b.jpg"), "B", ""}, {"C:\\c.jpg", "C", ""}});
  gal.bytes.resize(size_t(gal.records[2] + 30));  // the third record is cut off
  catalogues.Write("photos.GAL", gal.bytes);
  host.cat_file = "photos.GAL";
  RunOutcome outcome = Make_archive(host);
  EXPECT_EQ(outcome.end, RunEnd::kCompleted);
  EXPECT_EQ(host.status, "2 Done!");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0],
            catalogues.Win("photos.GAL") + ": picture record 3: the record at position " +
                std::to_string(gal.records[2]) + " runs past the end of the file");
  EXPECT_EQ(outcome.message, host.messages[0]);
  auto date = [&](const char* name) {
    return Long_date_text(*Modified_time(Root_drives(), photos.Win(name)));
  };
  Expect_staging(dest.Read("archive.txt"), {photos.Win("a.jpg") + "\tA\t\t\t\t\t" + date("a.jpg"),
                                            photos.Win("b.jpg") + "\tB\t\t\t\t\t" + date("b.jpg")});
}

}  // namespace
}  // namespace zendrel::testing
