// zendrel build --catalog: each format through the command line, and a
// non-zero exit where the run was refused or the catalogue was damaged.
#include <gtest/gtest.h>

#include <sstream>

#include "catalog/fixtures/gal_writer.h"
#include "catalog/fixtures/tdb_writer.h"
#include "cli/command.h"
#include "support/temp_dir.h"
#include "support/tiny_jpeg.h"

namespace zendrel::testing {
namespace {

class BuildCatalog : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    cli::Streams io{out, err, false};
    args.insert(args.begin(), "build");
    return cli::Run_command_line(args, io);
  }
  int Build(const std::string& name, const std::string& bytes, std::vector<std::string> more = {}) {
    std::string path = catalogues.Write(name, bytes);
    std::vector<std::string> args{"--catalog", path, "--dest", dest.native(), "--copy", "no"};
    args.insert(args.end(), more.begin(), more.end());
    return Run(args);
  }
  TempDir photos, catalogues, dest;
  std::ostringstream out, err;
};

TEST_F(BuildCatalog, EachFormatRunsToDone) {
  photos.Make_dir("Photos/1999");
  photos.Write("Photos/1999/a.jpg", Tiny_jpeg());
  std::string drive = "D=" + photos.native() + ":PHOTOS99";
  EXPECT_EQ(Build("p.txt", photos.Win("Photos/1999/a.jpg") + "\tA\r\n"), 0) << err.str();
  EXPECT_NE(out.str().find("Done!"), std::string::npos);
  EXPECT_EQ(Build("p.tDB", Write_tdb(Sample_tdb()), {"--drive", drive}), 0) << err.str();
  // Each command makes its own table: the drive is given to each.
  EXPECT_EQ(
      Build("p.GAL", Write_gal({{"D:\\Photos\\1999\\a.jpg", "A", ""}}).bytes, {"--drive", drive}),
      0)
      << err.str();
  EXPECT_EQ(
      Build("p.csv", "PHOTOS99,,,,,Photos\\1999,,,,,,,,,,,,,,,,a.jpg\r\n", {"--drive", drive}), 0)
      << err.str();
  EXPECT_EQ(err.str(), "");
  // A catalogue without a picture does not replace the archive it found.
  EXPECT_EQ(Build("p.plb", std::string("no pictures here")), 1);
  EXPECT_NE(err.str().find("p.plb names no picture"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("was left as it was"), std::string::npos) << err.str();
  // Mode 2: the pictures are looked for in the source directory.
  EXPECT_EQ(
      Build("q.txt", "X:\\elsewhere\\a.jpg\tA\r\n", {"--source", photos.native() + "/Photos/1999"}),
      0);
}

TEST_F(BuildCatalog, RefusedRunsExitNonZeroWithTheMessage) {
  EXPECT_EQ(Build("photos.TXT", "a\tb\r\n"), 1);
  EXPECT_EQ(err.str(), "zendrel: Catalog file type not supported\n");
  EXPECT_FALSE(dest.Exists("archive.htm"));
  EXPECT_EQ(Run({"--catalog", catalogues.Native("missing.txt"), "--dest", dest.native()}), 1);
  EXPECT_NE(err.str().find("missing.txt Error 2"), std::string::npos) << err.str();
}

TEST_F(BuildCatalog, ADamagedCatalogueExitsNonZeroAfterCompletingThePage) {
  GalFile gal = Write_gal({{"C:\\a.jpg", "A", ""}, {"C:\\b.jpg", "B", ""}});
  gal.bytes.resize(size_t(gal.records[1] + 10));
  EXPECT_EQ(Build("photos.GAL", gal.bytes), 1);
  EXPECT_NE(err.str().find("photos.GAL: picture record 2: the record at position"),
            std::string::npos)
      << err.str();
  EXPECT_NE(out.str().find("Done!"), std::string::npos);
  EXPECT_TRUE(dest.Exists("archive.htm"));
}

}  // namespace
}  // namespace zendrel::testing
