// Picture processing of single records, through a run's context.
#include <gtest/gtest.h>

#include "build/run_context.h"
#include "page/record_line.h"
#include "support/jpeg_fixture.h"
#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::ScriptedHost;
using testing::TempDir;

class AddPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Make_dir("dest");
    request.mode = RunMode::kCatalogue;
    request.dest_dir = dir.Win("dest");
    request.drives = testing::Root_drives();
    run = std::make_unique<RunContext>(request, host, stop);
    ASSERT_TRUE(run->page().Open(request.drives, dir.Win("dest\\archive.htm")).ok());
    ASSERT_TRUE(run->staging().Open(request.drives, dir.Win("dest\\archive.txt")).ok());
  }
  // The page's record lines and the staging file, once the run is over.
  void Finish() {
    run->Finish_pictures(true);
    ASSERT_TRUE(run->page().Commit().ok());
    ASSERT_TRUE(run->staging().Commit().ok());
    page = dir.Read("dest/archive.htm");
    staging = dir.Read("dest/archive.txt");
  }
  std::vector<std::vector<std::string>> Records() {
    std::vector<std::vector<std::string>> records;
    for (size_t at = page.find("cat.add"); at != std::string::npos;
         at = page.find("cat.add", at + 1)) {
      std::string joined;
      size_t pos = at;
      for (int line = 0; line < 5; ++line) {
        size_t end = page.find("\r\n", pos);
        joined += page.substr(pos, end - pos);
        pos = end + 2;
      }
      records.push_back(Split_record_text(joined));
    }
    return records;
  }
  void Add(const std::string& source, const std::string& title = "") {
    PictureRecord r;
    r.SourceFile = source;
    r.Title = title;
    r.Date = "May 1, 2001";
    run->Add_picture(r);
  }

  TempDir dir;
  RunRequest request;
  ScriptedHost host;
  StopRequest stop;
  std::unique_ptr<RunContext> run;
  std::string page, staging;
};

TEST_F(AddPictureTest, TakesPicturesOfAnyNameAndRecordsJpgForJPG) {
  dir.Write("src/IMG_1.JPG", testing::Small_jpeg());
  dir.Write("src/IMG_2.txt", "notes");
  Add(dir.Win("src\\IMG_2.txt"));  // skipped, but the header is written first
  Add(dir.Win("src\\IMG_1.JPG"), "first");
  Add(dir.Win("src\\missing.jpg"));
  Finish();
  EXPECT_EQ(host.status, "1");
  auto records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0][3], "IMG_1.jpg");
  EXPECT_EQ(records[0][2], Double_backslashes(dir.Win("src")));
  EXPECT_EQ(records[0][4], "first");
  EXPECT_EQ(records[0][9], "May 1, 2001");
  ASSERT_EQ(records[0][0].size(), 12u);
  EXPECT_TRUE(dir.Exists("dest/" + records[0][0]));
  int lines = 0;
  for (char c : staging) lines += c == '\n';
  EXPECT_EQ(lines, 2);  // one header, one picture
  EXPECT_NE(staging.find(dir.Win("src\\IMG_1.JPG") + "\tfirst\t"), std::string::npos);
}

TEST_F(AddPictureTest, ModeTwoTakesPicturesFromTheSourceDirectory) {
  dir.Write("src/a.jpg", testing::Small_jpeg());
  request.mode = RunMode::kCatalogueFromSource;
  request.src_dir = dir.Win("src");
  Add("E:\\old\\place\\a.jpg");
  Finish();
  auto records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0][2], Double_backslashes(dir.Win("src")));
}

TEST_F(AddPictureTest, ValuesThatWouldBreakThePageOrTheColumnsAreMended) {
  dir.Write("src/a.jpg", testing::Small_jpeg());
  Add(dir.Win("src\\a.jpg"), "say \"cheese\"\tnow\r\n</script>");
  Finish();
  auto records = Records();
  ASSERT_EQ(records.size(), 1u);
  ASSERT_EQ(records[0].size(), 10u);
  EXPECT_EQ(records[0][4], "say \\x22cheese\\x22\tnow\\r\\n<\\/script>");
  EXPECT_NE(staging.find("\tsay \"cheese\" now  </script>\t"), std::string::npos);
}

TEST_F(AddPictureTest, CopiesUnderTheCopyNameWithoutTouchingAnything) {
  dir.Write("dest/a.jpg", "a user's own file");
  dir.Write("src/a.jpg", testing::Small_jpeg());
  request.copy_mode = CopyMode::kUniqueNames;
  Add(dir.Win("src\\a.jpg"));
  Finish();
  auto records = Records();
  ASSERT_EQ(records.size(), 1u);
  std::string copy = records[0][0];
  copy[7] = copy[7] == '0' ? '2' : copy[7] == '8' ? 'A' : copy[7] == 'H' ? 'K' : 'T';
  EXPECT_EQ(dir.Read("dest/" + copy), testing::Small_jpeg());
  EXPECT_EQ(dir.Read("dest/a.jpg"), "a user's own file");
  EXPECT_TRUE(dir.Exists("src/a.jpg"));
}

TEST_F(AddPictureTest, KeepNamesNeverEmptiesAnOriginalInTheDestination) {
  dir.Write("dest/IMG_1.JPG", testing::Small_jpeg());
  request.copy_mode = CopyMode::kKeepNames;
  Add(dir.Win("dest\\IMG_1.JPG"));  // copied "onto itself" as IMG_1.jpg
  Finish();
  EXPECT_EQ(dir.Read("dest/IMG_1.JPG"), testing::Small_jpeg());
  EXPECT_EQ(Records().size(), 1u);
}

TEST_F(AddPictureTest, NamesFromASourceNeverLeadOutOfTheDestination) {
  dir.Write("src/x/evil.jpg", testing::Small_jpeg());
  request.copy_mode = CopyMode::kKeepNames;
  // A Linux name may hold "/": the file name part is "x/evil.jpg".
  Add(dir.Win("src") + "\\x/evil.jpg");
  dir.Write("top.jpg", testing::Small_jpeg());
  Add(dir.Win("src") + "\\../top.jpg");
  Finish();
  EXPECT_EQ(Records().size(), 2u);  // archived, but the originals not copied
  EXPECT_FALSE(dir.Exists("dest/x/evil.jpg"));
  EXPECT_FALSE(dir.Exists("dest/x"));
}

TEST_F(AddPictureTest, TheSamePictureGetsTheSameNamesInEveryRun) {
  dir.Write("src/a.jpg", testing::Small_jpeg());
  Add(dir.Win("src\\a.jpg"));
  Finish();
  std::string first = Records()[0][0];
  SetUp();
  Add(dir.Win("src\\a.jpg"));
  Finish();
  EXPECT_EQ(Records()[0][0], first);
}

}  // namespace
}  // namespace zendrel
