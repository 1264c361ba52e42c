#include "page/page_head.h"

namespace zendrel {

// Placeholder until the page script lands.
std::vector<std::string> Page_head_lines() {
  return {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Frameset//EN\">", "<html>", "<head>",
          "<title>Zendrel</title>", "<script language=\"JavaScript\">", "",
          "<!-- begin script", "", "var cat = new Catalog();"};
}

void Write_page_head(OutputFile& page) {
  for (const auto& line : Page_head_lines()) page.Write_line(line);
}

}  // namespace zendrel
