#include "master/make_master.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "build/make_archive.h"
#include "cli/command.h"
#include "page/record_line.h"
#include "platform/file_system.h"
#include "support/scripted_host.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

using testing::ScriptedHost;
using testing::TempDir;

// A record as a build writes it: empty file, path with doubled backslashes.
ArchiveRecord Built(const std::string& thumb, const std::string& title) {
  return {thumb,  "",     "C:\\\\Photos\\\\trip", "a.jpg", title, "subj", "cat",
          "comm", "auth", "July 24, 1998"};
}

// From the line that begins the page's tail on: a page is whole only with it.
std::string Tail() {
  return "\r\nvar pickedItem;\r\n</script></head>\r\n<frameset></frameset></html>\r\n";
}

std::string Page_text(const std::vector<ArchiveRecord>& records) {
  std::string text = "<html><head><script>\r\nvar cat = new Catalog ();\r\n";
  for (const ArchiveRecord& r : records) {
    for (const std::string& line : Record_lines(r)) text += line + "\r\n";
  }
  return text + Tail();
}

struct MasterRun {
  ScriptedHost host;
  RunOutcome outcome;
};

MasterRun Run_master(const std::string& dest, std::function<void(ScriptedHost&)> on_events = {}) {
  MasterRun run;
  run.host.mode = 4;
  run.host.dest_dir = dest;
  run.host.on_events = std::move(on_events);
  run.outcome = Make_archive(run.host);
  return run;
}

// The names of the subdirectories in the order the listing gives them.
std::vector<std::string> Listed(const TempDir& dir, const std::string& relative) {
  std::vector<std::string> names;
  List_directory(testing::Root_drives(), dir.Win(relative), "*", ListFilter::kDirectories, &names);
  return names;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TEST(MakeMaster, CopiesTheSubdirectoryPagesInListingOrderWithThePrefix) {
  TempDir dir;
  dir.Write("m/one/archive.htm",
            Page_text({Built("_ABCDEF0.jpg", "first"), Built("_ABCDEF8.jpg", "second")}));
  dir.Write("m/two/archive.htm", Page_text({Built("_BCDFGH0.jpg", "third")}));
  dir.Make_dir("m/nopage");
  dir.Write("m/nopage/archive.txt", "SourceFile\r\n");
  dir.Write("m/plain.htm", "not a directory");
  MasterRun run = Run_master(dir.Win("m"));
  EXPECT_EQ(run.outcome.end, RunEnd::kCompleted);
  EXPECT_TRUE(run.host.messages.empty()) << run.host.messages.front();
  EXPECT_EQ(run.host.status, "2 Done!");
  std::vector<std::pair<int32_t, int32_t>> progress = {{1, 2}, {2, 2}};  // pages of all pages
  EXPECT_EQ(run.host.progress, progress);

  std::string page = dir.Read("m/archive.htm");
  std::vector<std::string> staging = Lines(dir.Read("m/archive.txt"));
  ASSERT_EQ(staging.size(), 4u);
  EXPECT_EQ(staging[0], "SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tSource\tDate");
  std::vector<std::string> order;
  for (const std::string& name : Listed(dir, "m")) {
    if (name == "nopage") continue;
    if (name == "one") order.insert(order.end(), {"one/_ABCDEF0.jpg", "one/_ABCDEF8.jpg"});
    if (name == "two") order.push_back("two/_BCDFGH0.jpg");
  }
  size_t at = 0;
  for (size_t i = 0; i < order.size(); ++i) {
    std::string subdir = order[i].substr(0, 4);
    // thumb and file both made relative to the master page; path as it was.
    std::string first = "cat.add (new Pic (\"" + order[i] + "\", \"" + subdir +
                        "\",\r\n"
                        "  \"C:\\\\Photos\\\\trip\", \"a.jpg\",\r\n";
    size_t found = page.find(first, at);
    ASSERT_NE(found, std::string::npos) << order[i];
    at = found + 1;
    EXPECT_EQ(staging[i + 1], "C:\\Photos\\trip\\a.jpg\t" +
                                  std::string(order[i] == "two/_BCDFGH0.jpg"   ? "third"
                                              : order[i] == "one/_ABCDEF0.jpg" ? "first"
                                                                               : "second") +
                                  "\tsubj\tcat\tcomm\tauth\tJuly 24, 1998\t" + order[i]);
  }
  EXPECT_EQ(page.find("var cat = new Catalog ();\r\ncat.add"), std::string::npos)
      << "a subdirectory page's head is not copied";
}

TEST(MakeMaster, CountsEachPageAndStopsAfterThePageItWasAskedIn) {
  TempDir dir;
  for (const char* name : {"a", "b", "c"})
    dir.Write(std::string("m/") + name + "/archive.htm", Page_text({Built("_ABCDEF0.jpg", name)}));
  std::vector<std::string> counts;
  MasterRun all = Run_master(dir.Win("m"), [&](ScriptedHost& h) { counts.push_back(h.status); });
  EXPECT_EQ(counts, (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Lines(dir.Read("m/archive.txt")).size(), 4u);

  MasterRun stopped = Run_master(dir.Win("m"), [](ScriptedHost& h) { h.Stop(); });
  EXPECT_EQ(stopped.outcome.end, RunEnd::kStopped);
  EXPECT_EQ(stopped.host.status, "1 Done!");
  std::vector<std::string> staging = Lines(dir.Read("m/archive.txt"));
  ASSERT_EQ(staging.size(), 2u);
  std::string first = "\t" + Listed(dir, "m")[0] + "/_ABCDEF0.jpg";
  EXPECT_EQ(staging[1].substr(staging[1].size() - first.size()), first);
  std::string page = dir.Read("m/archive.htm");
  EXPECT_EQ(page.find("cat.add"), page.rfind("cat.add")) << "one record only";
}

TEST(MakeMaster, AMasterOfMastersAddsAFurtherPrefix) {
  TempDir dir;
  dir.Write("top/mid/sub/archive.htm", Page_text({Built("_ABCDEF0.jpg", "deep")}));
  ASSERT_EQ(Run_master(dir.Win("top/mid")).outcome.end, RunEnd::kCompleted);
  MasterRun top = Run_master(dir.Win("top"));
  EXPECT_EQ(top.outcome.end, RunEnd::kCompleted);
  EXPECT_NE(
      dir.Read("top/archive.htm").find("cat.add (new Pic (\"mid/sub/_ABCDEF0.jpg\", \"mid/sub/\","),
      std::string::npos);
  std::vector<std::string> staging = Lines(dir.Read("top/archive.txt"));
  ASSERT_EQ(staging.size(), 2u);
  EXPECT_EQ(staging[1],
            "C:\\Photos\\trip\\a.jpg\tdeep\tsubj\tcat\tcomm\tauth\tJuly 24, 1998\t"
            "mid/sub/_ABCDEF0.jpg");
}

// A damaged page costs only its own records from where the damage is: the
// message names it, the pages after it are still combined.
TEST(MakeMaster, ADamagedPageIsNamedAndTheOtherPagesCombined) {
  TempDir dir;
  std::string eleven =
      "cat.add (new Pic (\"_BBBBBB0.jpg\", \"\",\r\n  \"p\", \"s\",\r\n"
      "  \"t\", \"u\",\r\n  \"c\", \"m\",\r\n  \"a\", \"d\", \"extra\"));\r\n";
  std::string kept = Page_text({Built("_ABCDEF0.jpg", "kept")});
  dir.Write("m/bad/archive.htm", kept.substr(0, kept.find("\r\nvar pickedItem")) + eleven + Tail());
  dir.Write("m/later/archive.htm", Page_text({Built("_ABCDEF8.jpg", "later")}));
  MasterRun run = Run_master(dir.Win("m"));
  EXPECT_EQ(run.outcome.end, RunEnd::kCompleted);
  ASSERT_EQ(run.host.messages.size(), 1u);
  EXPECT_EQ(run.host.messages[0],
            dir.Win("m/bad") +
                "\\archive.htm: the page is damaged: reading stopped at record 2, as it has "
                "more than ten values");
  std::vector<std::string> staging = Lines(dir.Read("m/archive.txt"));
  ASSERT_EQ(staging.size(), 3u);
  EXPECT_NE(staging[1].find("\tkept\t"), std::string::npos);
  EXPECT_NE(staging[2].find("\tlater\t"), std::string::npos);
  EXPECT_NE(dir.Read("m/archive.htm").find("</html>"), std::string::npos) << "the tail is written";

  // A value far beyond 32,767 characters is read and combined like any other.
  std::string long_title(40000, 'x');
  dir.Write("m/bad/archive.htm", Page_text({Built("_ABCDEF0.jpg", long_title)}));
  run = Run_master(dir.Win("m"));
  EXPECT_TRUE(run.host.messages.empty());
  staging = Lines(dir.Read("m/archive.txt"));
  ASSERT_EQ(staging.size(), 3u);
  EXPECT_NE(staging[1].find(long_title), std::string::npos);
}

TEST(MakeMaster, SubdirectoriesNamedInAnyScriptAreCombined) {
  TempDir dir;
  const std::string names[] = {
      "\xC5\x81\xC3\xB3"
      "d\xC5\xBA",                              // Łódź
      "\xE6\x97\xA5\xE6\x9C\xAC",               // 日本
      "\xE5\x86\x99\xE7\x9C\x9F\xE9\x9B\x86"};  // 写真集
  for (const std::string& name : names)
    dir.Write("m/" + name + "/archive.htm", Page_text({Built("_ABCDEF0.jpg", name)}));
  MasterRun run = Run_master(dir.Win("m"));
  EXPECT_TRUE(run.host.messages.empty()) << run.host.messages[0];
  EXPECT_EQ(run.host.status, "3 Done!");
  std::string page = dir.Read("m/archive.htm");
  EXPECT_NE(page.find("\"&#321;\xF3"
                      "d&#378;/_ABCDEF0.jpg\""),
            std::string::npos);
  EXPECT_NE(page.find("\"&#26085;&#26412;/_ABCDEF0.jpg\""), std::string::npos);
  EXPECT_NE(page.find("\"&#20889;&#30495;&#38598;/_ABCDEF0.jpg\""), std::string::npos);
}

TEST(MakeMaster, ASubdirectoryNameThePageCannotCarryIsLeftOutAndNamed) {
  TempDir dir;
  dir.Write("m/say \"cheese\"/archive.htm", Page_text({Built("_ABCDEF0.jpg", "quoted")}));
  dir.Write("m/50%/archive.htm", Page_text({Built("_ABCDEF0.jpg", "percent")}));
  dir.Write("m/Tom's & Ann's/archive.htm", Page_text({Built("_ABCDEF0.jpg", "fine")}));
  MasterRun run = Run_master(dir.Win("m"));
  EXPECT_EQ(run.outcome.end, RunEnd::kCompleted);
  ASSERT_EQ(run.host.messages.size(), 1u);
  EXPECT_NE(run.host.messages[0].find(dir.Win("m") + "\\say \"cheese\": left out"),
            std::string::npos);
  EXPECT_NE(run.host.messages[0].find(dir.Win("m") + "\\50%: left out"), std::string::npos);
  std::vector<std::string> staging = Lines(dir.Read("m/archive.txt"));
  ASSERT_EQ(staging.size(), 2u);
  EXPECT_NE(staging[1].find("\tTom's & Ann's/_ABCDEF0.jpg"), std::string::npos);
  EXPECT_EQ(run.host.status, "1 Done!");
}

TEST(MakeMaster, CombinesMorePagesThanTheOldLimitOf1001) {
  TempDir dir;
  std::string page = Page_text({Built("_ABCDEF0.jpg", "t")});
  for (int i = 0; i < 1002; ++i) dir.Write("m/d" + std::to_string(i) + "/archive.htm", page);
  MasterRun run = Run_master(dir.Win("m"));
  EXPECT_EQ(run.host.status, "1002 Done!");
  EXPECT_TRUE(run.host.messages.empty());
  EXPECT_EQ(Lines(dir.Read("m/archive.txt")).size(), 1003u);
}

TEST(MasterCatalogueLine, UndoesTheDoubledBackslashesOfThePath) {
  TempDir dir;
  OutputFile staging;
  ASSERT_TRUE(staging.Open(testing::Root_drives(), dir.Win("archive.txt")).ok());
  ArchiveRecord values = {"s/_A.jpg",   "s/",    "\\\\\\\\server\\\\share\\\\dir",
                          "b.jpg",      "ti\tt", "su",
                          "ca",         "co",    "au",
                          "May 1, 2000"};
  std::string joined;
  for (const std::string& line : Record_lines(values)) joined += line;
  ASSERT_TRUE(Add_master_catalogue_line(staging, joined).ok());
  EXPECT_FALSE(Add_master_catalogue_line(staging, joined + "\"eleventh\"").ok());
  // A record cut short by the end of its page: the missing values are empty.
  ASSERT_TRUE(Add_master_catalogue_line(staging, "cat.add (new Pic (\"x/_B.jpg\", \"x/\",").ok());
  ASSERT_TRUE(staging.Commit().ok());
  std::vector<std::string> lines = Lines(dir.Read("archive.txt"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "\\\\server\\share\\dir\\b.jpg\tti t\tsu\tca\tco\tau\tMay 1, 2000\ts/_A.jpg");
  EXPECT_EQ(lines[1], "\\\t\t\t\t\t\t\tx/_B.jpg");
}

TEST(MasterCommand, BuildsTheMasterOfADirectory) {
  TempDir dir;
  dir.Write("m/one/archive.htm", Page_text({Built("_ABCDEF0.jpg", "first")}));
  std::ostringstream out, err;
  cli::Streams io{out, err};
  EXPECT_EQ(cli::Run_command_line({"master", dir.Native("m")}, io), 0) << err.str();
  EXPECT_EQ(out.str(), "1 Done!\n");
  EXPECT_NE(dir.Read("m/archive.htm").find("\"one/_ABCDEF0.jpg\", \"one/\""), std::string::npos);

  std::ostringstream out2, err2;
  cli::Streams io2{out2, err2};
  EXPECT_EQ(cli::Run_command_line({"master", dir.Native("missing")}, io2), 1);
  EXPECT_NE(err2.str().find("no such directory"), std::string::npos);
  EXPECT_EQ(cli::Run_command_line({"master"}, io2), 2);
}

}  // namespace
}  // namespace zendrel
