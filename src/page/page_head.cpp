#include "page/page_head.h"

#include "page/page_script.h"

namespace zendrel {

std::vector<std::string> Page_head_lines() {
  std::vector<std::string> lines = {
      R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.0 Frameset//EN">)",
      R"(<html lang="en">)",
      "<head>",
      "<title>Zendrel</title>",
      // The page is Windows-1252 text; said so, every browser in every
      // locale reads its names and descriptions right.
      R"(<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">)",
      R"(<meta name="viewport" content="width=device-width, initial-scale=1">)",
      R"(<script language="JavaScript">)",
      "",
      "<!-- begin script",
  };
  Append_lines(Sorting_functions(), lines);
  Append_lines(Search_functions(), lines);
  Append_lines(Date_functions(), lines);
  Append_lines(Catalog_functions(), lines);
  lines.push_back("");
  lines.push_back("var cat = new Catalog();");
  return lines;
}

void Write_page_head(OutputFile& page) {
  for (const auto& line : Page_head_lines()) page.Write_line(line);
}

}  // namespace zendrel
