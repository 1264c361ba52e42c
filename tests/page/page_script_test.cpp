#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "page/page_head.h"
#include "page/page_records.h"
#include "page/page_tail.h"
#include "page/record_line.h"
#include "platform/output_file.h"
#include "support/temp_dir.h"

namespace zendrel {
namespace {

// Names of the functions that start in the first column, in page order.
std::vector<std::string> Function_names(const std::vector<std::string>& lines) {
  std::vector<std::string> names;
  for (const std::string& line : lines) {
    if (line.rfind("function ", 0) == 0) names.push_back(line.substr(9, line.find('(') - 9));
  }
  return names;
}

// The page's script layout: every function closes with "}" alone in the
// first column, indentation goes by two blanks, constructors end with
// "  return this;", nothing begins with "cat.add".
void Expect_script_layout(const std::vector<std::string>& lines) {
  const std::set<std::string> constructors = {
      "KeywordList", "Result", "ResultList", "IndexItemList", "Index", "Pic", "Catalog"};
  std::string open_function;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    SCOPED_TRACE("line " + std::to_string(i) + ": " + line);
    EXPECT_NE(line.rfind("cat.add", 0), 0u);
    EXPECT_EQ(line.find('\t'), std::string::npos);
    size_t indent = line.find_first_not_of(' ');
    if (indent != std::string::npos) EXPECT_EQ(indent % 2, 0u);
    if (line.rfind("function ", 0) == 0) {
      EXPECT_EQ(open_function, "") << "function inside a function";
      open_function = Function_names({line})[0];
      EXPECT_EQ(line.back(), '{');
    } else if (line == "}") {
      EXPECT_NE(open_function, "");
      if (constructors.count(open_function)) EXPECT_EQ(lines[i - 1], "  return this;");
      open_function.clear();
    } else if (!open_function.empty()) {
      EXPECT_GE(indent, 2u) << "a function's body is indented";
    }
  }
  EXPECT_EQ(open_function, "");
}

TEST(PageHead, OpensTheDocumentAndEndsByMakingTheCatalogue) {
  std::vector<std::string> lines = Page_head_lines();
  std::vector<std::string> first(lines.begin(), lines.begin() + 9);
  EXPECT_EQ(first,
            (std::vector<std::string>{
                R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.0 Frameset//EN">)",
                R"(<html lang="en">)", "<head>", "<title>Zendrel</title>",
                R"(<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">)",
                R"(<meta name="viewport" content="width=device-width, initial-scale=1">)",
                R"(<script language="JavaScript">)", "", "<!-- begin script"}));
  EXPECT_EQ(lines[lines.size() - 2], "");
  EXPECT_EQ(lines.back(), "var cat = new Catalog();");
  // That every function the page calls is defined is checked where the
  // script runs (tests/browser/page_functions.test.mjs).
  Expect_script_layout(std::vector<std::string>(lines.begin() + 9, lines.end()));
}

TEST(PageTail, DeclaresTheGlobalsThenTheViewerAndTheFrameset) {
  std::vector<std::string> lines = Page_tail_lines();
  std::vector<std::string> globals(lines.begin(), lines.begin() + 8);
  EXPECT_EQ(globals,
            (std::vector<std::string>{"", "var pickedItem;", "var pathflag = false;",
                                      "var results = null;", "var controlFrame;",
                                      "var controlflag = true;", "var blackflag = false;", ""}));
  size_t end = 0;
  while (lines[end] != "// end script -->") ++end;
  Expect_script_layout(std::vector<std::string>(lines.begin(), lines.begin() + end));
  std::vector<std::string> rest(lines.begin() + end, lines.end());
  const std::vector<std::string> expected = {
      "// end script -->",
      "",
      "</script>",
      "</head>",
      R"html(<frameset cols="128,*" border=0 frameborder=0 framespacing=0 onload="startFrames()">)html",
      R"html(  <frameset rows="23,*" border=0 frameborder=0 framespacing=0>)html",
      R"html(    <frame name="control" title="Start" src="about:blank" noresize scrolling="no" marginwidth=5 marginheight=0>)html",
      R"html(    <frame name="film" title="Thumbnails and navigation" src="about:blank" noresize marginwidth=0 marginheight=0>)html",
      "  </frameset>",
      R"html(  <frame name="show" title="Pictures and search" src="about:blank" marginwidth=4 marginheight=1>)html",
      "</frameset>",
      "</html>",
      ""};
  EXPECT_EQ(rest, expected);
}

TEST(PageTail, FrameTemplatesStandBetweenTheFunctionsAndTheStart) {
  std::vector<std::string> lines = Page_tail_lines();
  auto first_line = [&](const std::string& prefix) {
    size_t at = 0;
    while (at < lines.size() && lines[at].rfind(prefix, 0) != 0) ++at;
    return at;
  };
  // The templates in their order, then the start functions.
  std::vector<size_t> at = {first_line("var welcomeFrame = "), first_line("var xFrame = "),
                            first_line("var startFrame = "), first_line("var blankFrame = "),
                            first_line("function initialize(")};
  for (size_t i = 0; i < at.size(); ++i) {
    ASSERT_LT(at[i], lines.size()) << i;
    if (i > 0) {
      EXPECT_LT(at[i - 1], at[i]) << i;
    }
  }
  // Each template is one statement, ended before the next begins, and no
  // function stands among them.
  for (size_t i = 0; i + 1 < at.size(); ++i) {
    bool ended = false;
    for (size_t n = at[i]; n < at[i + 1]; ++n) {
      const std::string& line = lines[n];
      EXPECT_NE(line.rfind("function ", 0), 0u) << line;
      if (line.size() >= 2 && line.compare(line.size() - 2, 2, "';") == 0) ended = true;
    }
    EXPECT_TRUE(ended) << lines[at[i]];
  }
  // The viewer's functions all come before them.
  bool function_before = false;
  for (size_t n = 0; n < at[0]; ++n) function_before |= lines[n].rfind("function ", 0) == 0;
  EXPECT_TRUE(function_before);
}

TEST(ArchivePage, OnlyRecordLinesBeginWithCatAdd) {
  testing::TempDir dir;
  OutputFile page;
  ASSERT_TRUE(page.Open(testing::Root_drives(), dir.Win("archive.htm")).ok());
  Write_page_head(page);
  Write_record_line(page, {"_AAAAAA0.jpg", "", "C:\\\\P", "a.jpg", "cat.add", "", "", "", "", ""});
  Write_page_tail(page);
  ASSERT_TRUE(page.Commit().ok());

  std::string text = dir.Read("archive.htm");
  int starts = 0;
  size_t lines = 0;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "every line ends in CR LF";
    EXPECT_EQ(text.substr(at, end - at).find('\n'), std::string::npos);
    if (text.compare(at, 7, "cat.add") == 0) ++starts;
    at = end + 2;
    ++lines;
  }
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(lines, Page_head_lines().size() + 5 + Page_tail_lines().size());
}

// Long pages hold their records in script elements of a thousand records;
// the cuts stand between whole records and readers still find every one.
TEST(ArchivePage, RecordsStandInScriptsOfAThousand) {
  struct Case {
    int records;
    int cuts;
  };
  for (const Case& c : {Case{1, 0}, Case{999, 0}, Case{1000, 0}, Case{1001, 1}, Case{2500, 2}}) {
    testing::TempDir dir;
    OutputFile page;
    ASSERT_TRUE(page.Open(testing::Root_drives(), dir.Win("archive.htm")).ok());
    Write_page_head(page);
    for (int r = 1; r <= c.records; ++r) {
      Write_record_line(page, {"_AAAAAA0.jpg", "", "C:\\\\P", std::to_string(r) + ".jpg", "t", "",
                               "", "", "", ""});
    }
    Write_page_tail(page);
    ASSERT_TRUE(page.Commit().ok());
    std::string text = dir.Read("archive.htm");

    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
      lines.push_back(text.substr(at, end - at));
    int cuts = 0;
    int records_before = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].rfind("cat.add", 0) == 0) ++records_before;
      if (lines[i] != "</script>" || lines[i + 1] == "</head>") continue;
      ++cuts;
      EXPECT_EQ(records_before, 1000 * cuts) << c.records;
      EXPECT_EQ(lines[i - 1].substr(lines[i - 1].size() - 3), "));") << c.records;
      EXPECT_EQ(lines[i + 1], R"(<script language="JavaScript">)");
      EXPECT_EQ(lines[i + 2].rfind("cat.add (new Pic (", 0), 0u) << c.records;
    }
    EXPECT_EQ(cuts, c.cuts) << c.records;

    int read = 0;
    Status walked = For_each_page_record(text, "archive.htm",
                                         [&](int record, const std::vector<std::string>& values) {
                                           EXPECT_EQ(values[3], std::to_string(record) + ".jpg");
                                           ++read;
                                           return Status();
                                         });
    EXPECT_TRUE(walked.ok()) << walked.message();
    EXPECT_EQ(read, c.records);
  }
}

}  // namespace
}  // namespace zendrel
