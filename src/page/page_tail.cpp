#include "page/page_tail.h"

namespace zendrel {

// Placeholder until the page script lands.
std::vector<std::string> Page_tail_lines() {
  return {"", "// end script -->", "", "</script>", "</head>", "</html>", ""};
}

void Write_page_tail(OutputFile& page) {
  for (const auto& line : Page_tail_lines()) page.Write_line(line);
}

}  // namespace zendrel
