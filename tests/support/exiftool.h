// Writes metadata into test pictures with exiftool, an independent writer
// (Debian's libimage-exiftool-perl).
#pragma once

#include <string>
#include <vector>

namespace zendrel::testing {

// Whether exiftool can be run.
bool Have_exiftool();

// Runs exiftool once over several commands, each a list of its arguments
// (tag assignments, then the file); an argument file carries any text.
// True when every command succeeded.
bool Run_exiftool(const std::vector<std::vector<std::string>>& commands);

}  // namespace zendrel::testing
