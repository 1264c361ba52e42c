// The names of a picture's files in the archive: "_" + seven characters of
// the name alphabet + ".jpg". The thumbnail's seventh character is "0", "8",
// "H" or "R"; the display copy has the next character, the copy of the
// original the one after.
#pragma once

#include <map>
#include <string>

#include "platform/drive_table.h"

namespace zendrel {

struct ArchiveNames {
  std::string thumbnail;
  std::string display;
  std::string copy;
};

// The three names of a seven-character picture code.
ArchiveNames Names_of_code(const std::string& code);

// False when `file_name` in `directory` is one of the system's own
// thumbnails or display copies: "_" + 11 characters whose partner file
// stands beside it.
bool Is_new_picture(const DriveTable& drives, const std::string& directory,
                    const std::string& file_name);

// Hands out codes within one run so that two different pictures never share
// names. A picture keeps the code of its stamp unless another picture of the
// run has it already; then the stamp is extended with "~1", "~2", ... until
// a free code comes up, so the same input in the same order gives the same
// names every time.
class RunNames {
 public:
  // `source` identifies the picture (its full path): the same picture
  // delivered twice keeps its one code.
  std::string Code_for(const std::string& stamp, const std::string& source);

 private:
  std::map<std::string, std::string> owner_of_code_;
};

}  // namespace zendrel
