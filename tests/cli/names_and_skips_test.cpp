// Whole runs over pictures named in many scripts and files that cannot be
// archived: every picture is kept under its own name, through the page and
// archive.txt, and every skipped file is accounted for.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "support/jpeg_fixture.h"
#include "support/temp_dir.h"

namespace zendrel::cli {
namespace {

struct CliRun {
  std::ostringstream out, err;
  int status = 0;
  explicit CliRun(const std::vector<std::string>& args) {
    Streams io{out, err, false};
    status = Run_command_line(args, io);
  }
};

// Names that differ only in a character outside Windows-1252, or in its case.
const std::vector<std::string> kNames = {
    "\xE6\xBC\xA2.jpg",  // 漢
    "\xE5\xAD\x97.jpg",  // 字
    "\xC5\x81\xC3\xB3"
    "d\xC5\xBA.jpg",  // Łódź
    "\xC5\x82\xC3\xB3"
    "d\xC5\xBA.jpg",                             // łódź
    "\xCE\xA3\xCE\xB1.jpg",                      // Σα
    "\xCF\x83\xCE\xB1.jpg",                      // σα
    "\xD0\x96\xD1\x83\xD0\xBA.jpg",              // Жук
    "\xE5\x86\x99\xE7\x9C\x9F\xE9\x9B\x86.jpg",  // 写真集
    "&#26085;.jpg",                              // looks like a reference, is not one
};

TEST(NamesInEveryScript, AreArchivedFoundAgainAndShownAsThemselves) {
  testing::TempDir dir;
  for (size_t i = 0; i < kNames.size(); ++i)
    dir.Write("src/" + kNames[i], testing::Small_jpeg(40 + int(i), 30));
  CliRun built(
      {"build", "--source", dir.Native("src"), "--dest", dir.Native("out"), "--copy", "no"});
  ASSERT_EQ(built.status, 0) << built.err.str();
  EXPECT_EQ(built.out.str(), "9 Done!\n");
  EXPECT_EQ(built.err.str(), "");

  CliRun records({"records", dir.Native("out")});
  ASSERT_EQ(records.status, 0) << records.err.str();
  for (const std::string& name : kNames)
    EXPECT_NE(records.out.str().find("\t" + name + "\t"), std::string::npos) << name;

  // archive.txt as a catalogue: each line finds its picture by its own name.
  CliRun again({"build", "--catalog", dir.Native("out/archive.txt"), "--dest", dir.Native("again"),
                "--copy", "no"});
  ASSERT_EQ(again.status, 0) << again.err.str();
  EXPECT_EQ(again.out.str(), "9 Done!\n");
  EXPECT_EQ(again.err.str(), "");
  EXPECT_EQ(dir.Read("again/archive.htm"), dir.Read("out/archive.htm"));
}

TEST(SkippedFiles, AreCountedByReasonAndNamedOnRequest) {
  testing::TempDir dir;
  dir.Write("src/good.jpg", testing::Small_jpeg());
  dir.Write("src/notes.jpg", "not a picture");
  dir.Write("src/mixed.Jpg", testing::Small_jpeg());
  dir.Write("src/empty.JPG", "");
  CliRun quiet(
      {"build", "--source", dir.Native("src"), "--dest", dir.Native("out"), "--copy", "no"});
  EXPECT_EQ(quiet.status, 0) << quiet.err.str();
  EXPECT_EQ(quiet.out.str(), "1 Done!\n");
  EXPECT_EQ(quiet.err.str(),
            "zendrel: 3 files skipped: 1 extension neither .jpg nor .JPG, 2 not a JPEG picture "
            "(--verbose names them)\n");

  CliRun verbose({"build", "--source", dir.Native("src"), "--dest", dir.Native("out"), "--copy",
                  "no", "--verbose"});
  EXPECT_EQ(verbose.status, 0);
  std::string err = verbose.err.str();
  std::string src = "zendrel: skipped " + dir.Win("src") + "\\";
  EXPECT_NE(err.find(src + "mixed.Jpg: extension neither .jpg nor .JPG\n"), std::string::npos)
      << err;
  EXPECT_NE(err.find(src + "notes.jpg: not a JPEG picture\n"), std::string::npos) << err;
  EXPECT_NE(err.find(src + "empty.jpg: not a JPEG picture\n"), std::string::npos) << err;
  EXPECT_NE(err.find("zendrel: 3 files skipped: "), std::string::npos) << err;
  // The page and the catalogue hold only the picture that was archived.
  EXPECT_EQ(dir.Read("out/archive.txt").find("notes"), std::string::npos);
}

}  // namespace
}  // namespace zendrel::cli
