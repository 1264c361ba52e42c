// One whole archive per catalogue format, built through the run driver.
#include <gtest/gtest.h>

#include "build/make_archive.h"
#include "catalog/fixtures/archive_check.h"
#include "catalog/fixtures/gal_writer.h"
#include "catalog/fixtures/plb_writer.h"
#include "catalog/fixtures/tdb_writer.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "support/scripted_host.h"
#include "support/temp_dir.h"
#include "support/tiny_jpeg.h"

namespace zendrel::testing {
namespace {

class CatalogueArchive : public ::testing::Test {
 protected:
  void SetUp() override {
    host.drives.Set('D', photos.native(), "PHOTOS99");
    photos.Make_dir("Photos/1999");
    for (const char* name : {"Photos/1999/a.jpg", "Photos/1999/c.jpg", "b.jpg"})
      photos.Write(name, Tiny_jpeg());
    host.mode = 1;
    host.copy_answer = 0;
    host.cat_dir = catalogues.Win();
    host.dest_dir = dest.Win();
  }

  // Builds the archive from the catalogue named `file` holding `bytes`.
  RunOutcome Build(const std::string& file, const std::string& bytes) {
    catalogues.Write(file, bytes);
    host.cat_file = file;
    return Make_archive(host);
  }

  std::string Date(const std::string& path) {
    return Long_date_text(*Modified_time(host.drives, path));
  }

  void Expect_complete(const RunOutcome& outcome, int delivered) {
    EXPECT_EQ(outcome.end, RunEnd::kCompleted);
    EXPECT_TRUE(host.messages.empty()) << host.messages[0];
    // At least one event-loop turn a picture delivered; a slow machine turns
    // it more often while the copies are made.
    EXPECT_GE(host.events, delivered);
    EXPECT_EQ(host.go, "Go");
    EXPECT_TRUE(dest.Exists("archive.htm"));
  }

  TempDir photos, catalogues, dest;
  ScriptedHost host;
};

TEST_F(CatalogueArchive, TabDelimitedText) {
  std::string a = "D:\\Photos\\1999\\a.jpg";
  auto outcome = Build("photos.txt", "\"SourceFile\"\tTitle\t\r\n" + a +
                                         "\tSea\tsea\tTrips\tNice\tAnn\tMay 1, 1999\t\r\n" +
                                         "D:\\none.jpg\tGone\r\n\r\n");
  Expect_complete(outcome, 2);
  Expect_staging(dest.Read("archive.txt"), {a + "\tSea\tsea\tTrips\tNice\tAnn\tMay 1, 1999"});
}

TEST_F(CatalogueArchive, PhotoOrganizerLibrary) {
  auto outcome = Build("photos.plb", PlbWriter()
                                         .Filler()
                                         .Header({"Sea", "Nice", "Ann", "Lee", "D:\\b.jpg", 36000})
                                         .Word_lists({"sea", "sun"}, {})
                                         .Header({"Gone", "", "", "", "D:\\none.jpg", 36000})
                                         .Word_lists({}, {})
                                         .bytes());
  Expect_complete(outcome, 2);
  Expect_staging(dest.Read("archive.txt"),
                 {"D:\\b.jpg\tSea\t sea sun\t\tNice\tAnn Lee\tJuly 24, 1998"});
}

TEST_F(CatalogueArchive, GalleryFile) {
  auto outcome =
      Build("photos.GAL", Write_gal({{"D:\\b.jpg", "Sea", "Nice"},
                                     {"D:\\Photos\\1999\\c.jpg", "Snow", "", false, true}})
                              .bytes);
  Expect_complete(outcome, 2);
  Expect_staging(dest.Read("archive.txt"),
                 {"D:\\b.jpg\tSea\t\t\tNice\t\t" + Date("D:\\b.jpg"),
                  "D:\\Photos\\1999\\c.jpg\tSnow\t\t\t\t\t" + Date("D:\\Photos\\1999\\c.jpg")});
}

TEST_F(CatalogueArchive, ThumbsPlusDatabase) {
  auto outcome = Build("photos.tDB", Write_tdb(Sample_tdb()));
  Expect_complete(outcome, 7);
  // TRIPS has no drive here, so b.jpg is looked for without one and skipped.
  Expect_staging(dest.Read("archive.txt"),
                 {"D:\\Photos\\1999\\a.jpg\t\t sea sun\t\t\t\t" + Date("D:\\Photos\\1999\\a.jpg"),
                  "D:\\Photos\\1999\\c.jpg\t\t cat sea\t\t\t\t" + Date("D:\\Photos\\1999\\c.jpg")});
}

TEST_F(CatalogueArchive, ThumbsPlusExport) {
  std::string line =
      "PHOTOS99,2,3,4,5,Photos\\1999" + std::string(15, ',') + ",a.jpg,\"Nice, really\",sea\r\n";
  auto outcome =
      Build("photos.csv", "Label,Size\r\n" + line + "UNKNOWN,,,,,x,,,,,,,,,,,,,,,,y.jpg\r\n");
  Expect_complete(outcome, 2);
  Expect_staging(dest.Read("archive.txt"), {"D:\\Photos\\1999\\a.jpg\t\tsea\t\tNice, really\t\t" +
                                            Date("D:\\Photos\\1999\\a.jpg")});
  ASSERT_EQ(host.labels.entries.size(), 2u);  // kept by the host for later runs
  EXPECT_EQ(host.labels.entries[1].letter, "C");
}

}  // namespace
}  // namespace zendrel::testing
