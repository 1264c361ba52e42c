// The page head of archive.htm: the document's opening, its title and the
// first half of its one script block (catalogue model, indexes, search words,
// result scoring, date keys, display-copy names), ending with
// "var cat = new Catalog();".
#pragma once

#include <string>
#include <vector>

#include "platform/output_file.h"

namespace zendrel {

std::vector<std::string> Page_head_lines();
void Write_page_head(OutputFile& page);

}  // namespace zendrel
