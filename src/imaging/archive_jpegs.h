// A picture's two archive copies made in memory: the display copy and the
// thumbnail as JPEG bytes, from one decode of the original. Lets a run scale
// pictures on worker threads and write the files on its own thread, in
// order. Safe on several threads at once.
#pragma once

#include <string>

#include "imaging/rgb_image.h"

namespace zendrel {

struct ArchiveJpegs {
  bool readable = false;  // false: the original is missing, not a JPEG or damaged
  std::string display;    // fitted within 1024 by 768, quality 85
  std::string thumbnail;  // 96 by 96, quality 85
};

// `original` is a native path.
ArchiveJpegs Make_archive_jpegs(const std::string& original);

// True when `path` (native) holds a whole JPEG whose size is within `box`
// (`exact`: exactly `box`): an archive copy made by an earlier run. Reads
// only the file's head and its last two bytes.
bool Is_archive_copy(const std::string& path, PixelSize box, bool exact);

}  // namespace zendrel
