// Whole runs over pictures named in many scripts and files that cannot be
// archived: every picture is kept under its own name, through the page and
// archive.txt, and every skipped file is accounted for.
#include <gtest/gtest.h>

#include <sstream>

#include "build/skipped_files.h"
#include "cli/command.h"
#include "support/cli_run.h"
#include "support/jpeg_fixture.h"
#include "support/temp_dir.h"

namespace zendrel::cli {
namespace {

using testing::CliRun;

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

TEST(SkippedFiles, PicturesOfAnyNameAreArchivedAndTheRestIsToldByKind) {
  testing::TempDir dir;
  std::string jpeg = testing::Small_jpeg();
  dir.Write("src/good.jpg", jpeg);
  dir.Write("src/notes.jpg", "not a picture");
  dir.Write("src/mixed.Jpg", jpeg);
  dir.Write("src/phone.jpeg", jpeg);
  dir.Write("src/EDITED.JPEG", jpeg);
  dir.Write("src/empty.JPG", "");
  dir.Write("src/cut.jpg", jpeg.substr(0, jpeg.size() - 2));
  // Two names that the ".JPG" rewriting would make one.
  dir.Write("src/holiday.JPG.jpg", testing::Small_jpeg(40, 30));
  dir.Write("src/holiday.jpg", jpeg);
  dir.Write("src/IMG_1.MOV", "video");
  dir.Write("src/IMG_2.mp4", "video");
  dir.Write("src/IMG_1.CR2", "raw");
  // Names a Windows path, a link or the catalogue's line cannot hold as they are.
  dir.Write("src/good.jpg ", jpeg);
  dir.Write("src/tab\tname.jpg", jpeg);
  dir.Write("src/line\nbreak.jpg", jpeg);
  CliRun quiet(
      {"build", "--source", dir.Native("src"), "--dest", dir.Native("out"), "--copy", "no"});
  EXPECT_EQ(quiet.status, 0) << quiet.err.str();
  EXPECT_EQ(quiet.out.str(), "7 Done!\n");
  EXPECT_EQ(quiet.err.str(),
            "zendrel: 2 files skipped: 1 not a picture, 1 empty file\n"
            "zendrel: 2 videos (.mov, .mp4) not archived\n"
            "zendrel: 1 camera RAW file (.cr2) not archived\n"
            "zendrel: 1 file whose name ends in a space not archived\n"
            "zendrel: 2 files whose names hold a control character or \"\\\" not archived\n"
            "zendrel: 1 picture archived incomplete (--verbose names them)\n");

  CliRun verbose({"build", "--source", dir.Native("src"), "--dest", dir.Native("out"), "--copy",
                  "no", "--verbose", "--rebuild"});
  EXPECT_EQ(verbose.status, 0);
  std::string err = verbose.err.str();
  std::string src = dir.Win("src") + "\\";
  for (std::string line :
       {"skipped " + src + "notes.jpg: not a picture\n",
        "skipped " + src + "empty.JPG: empty file\n",
        "skipped " + src + "IMG_1.MOV: a video, not archived\n",
        "skipped " + src + "good.jpg : its name ends in a space, not archived\n",
        "archived " + src + "cut.jpg: incomplete, archived as far as it decodes\n"})
    EXPECT_NE(err.find("zendrel: " + line), std::string::npos) << line << err;
  // The page and the catalogue hold only the pictures archived, each under
  // its own name and with its own thumbnail.
  EXPECT_EQ(dir.Read("out/archive.txt").find("notes"), std::string::npos);
  CliRun records({"records", dir.Native("out")});
  std::string listed = records.out.str();
  for (std::string name :
       {"holiday.JPG.jpg", "holiday.jpg", "mixed.Jpg", "phone.jpeg", "EDITED.JPEG", "cut.jpg"})
    EXPECT_NE(listed.find("\t" + name + "\t"), std::string::npos) << name << listed;
  std::string page = dir.Read("out/archive.htm");
  size_t first = page.find("holiday.JPG.jpg"), second = page.find("\"holiday.jpg\"");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(second, std::string::npos);
  EXPECT_NE(page.substr(page.rfind("cat.add", first), 30),
            page.substr(page.rfind("cat.add", second), 30));
}

TEST(SkippedFiles, SummaryGroupsByReasonAndKindWithTheKindsExtensions) {
  struct Case {
    std::vector<std::pair<std::string, SkipReason>> entries;
    std::vector<std::string> lines;
  } cases[] = {
      {{}, {}},
      {{{"C:\\a\\IMG_1.MOV", SkipReason::kVideo}}, {"1 video (.mov) not archived"}},
      {{{"C:\\a\\1.MOV", SkipReason::kVideo},
        {"C:\\a\\2.mp4", SkipReason::kVideo},
        {"C:\\a\\3.mov", SkipReason::kVideo},
        {"C:\\a.b\\noext", SkipReason::kRawPhoto},
        {"C:\\a\\x.jpg", SkipReason::kDanglingLink}},
       {"3 videos (.mov, .mp4) not archived", "1 camera RAW file not archived",
        "1 dangling symbolic link not archived"}},
      {{{"C:\\a\\b.jpg", SkipReason::kArchivedIncomplete},
        {"C:\\a\\c.jpg", SkipReason::kTooLarge},
        {"C:\\a\\d.jpg", SkipReason::kArchivedIncomplete},
        {"C:\\a\\e.jpg", SkipReason::kNotPicture},
        {"C:\\a\\f.jpg", SkipReason::kNotPicture},
        {"C:\\a\\g.AAE", SkipReason::kSidecar}},
       {"3 files skipped: 2 not a picture, 1 too large", "1 sidecar file (.aae) not archived",
        "2 pictures archived incomplete"}},
  };
  for (const Case& c : cases) {
    SkippedFiles skipped;
    for (const auto& [file, reason] : c.entries) skipped.Add(file, reason);
    EXPECT_EQ(skipped.Summary_lines(), c.lines);
  }
  SkippedFiles sized;
  sized.Add("C:\\a\\wide.jpg", SkipReason::kTooLarge, "30001x2000; the limit is 30000");
  EXPECT_EQ(sized.Lines(), std::vector<std::string>{
                               "C:\\a\\wide.jpg: too large (30001x2000; the limit is 30000)"});
}

TEST(SkippedFiles, AFolderOfVideosSaysSo) {
  testing::TempDir dir;
  dir.Write("src/IMG_1.MOV", "video");
  CliRun run({"build", "--source", dir.Native("src"), "--dest", dir.Native("out"), "--copy", "no"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err.str(), "zendrel: 1 video (.mov) not archived (--verbose names them)\n");
}

}  // namespace
}  // namespace zendrel::cli
