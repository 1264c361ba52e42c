#include "page/page_tail.h"

#include "page/page_script.h"

namespace zendrel {

std::vector<std::string> Page_tail_lines() {
  std::vector<std::string> lines = {
      "",
      "var pickedItem;",
      "var pathflag = false;",
      "var results = null;",
      "var controlFrame;",
      "var controlflag = true;",
      "var blackflag = false;",
      "",
  };
  Append_lines(Search_run_functions(), lines);
  Append_lines(View_functions(), lines);
  Append_lines(List_functions(), lines);
  Append_lines(Panel_functions(), lines);
  Append_lines(Key_functions(), lines);
  Append_lines(Address_functions(), lines);
  Append_lines(Frame_functions(), lines);
  lines.push_back("");

  const std::vector<ScriptPiece>& frames = Frame_templates();
  const char* after_frame[] = {"  ", "", "  ", "  "};  // welcome, x, start, blank
  for (size_t i = 0; i < frames.size(); ++i) {
    Append_lines(frames[i].text, lines);
    lines.push_back(after_frame[i]);
  }
  Append_lines(Start_functions(), lines);

  for (const char* line : {"// end script -->", "", "</script>", "</head>"}) lines.push_back(line);
  for (const std::string& line : Frameset_lines()) lines.push_back(line);
  lines.push_back("</html>");
  lines.push_back("");
  return lines;
}

void Write_page_tail(OutputFile& page) {
  for (const auto& line : Page_tail_lines()) page.Write_line(line);
}

}  // namespace zendrel
