// The page tail of archive.htm: the viewer half of the script (search panel,
// search, thumbnail table, picture views, slide show), the frame templates,
// the end of the script block and the frameset.
#pragma once

#include <string>
#include <vector>

#include "platform/output_file.h"

namespace zendrel {

std::vector<std::string> Page_tail_lines();
void Write_page_tail(OutputFile& page);

}  // namespace zendrel
