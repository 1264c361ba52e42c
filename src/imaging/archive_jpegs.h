// A picture's two archive copies made in memory, from any picture format: the display copy and the
// thumbnail as JPEG bytes, from one decode of the original. Lets a run scale
// pictures on worker threads and write the files on its own thread, in
// order. Safe on several threads at once.
#pragma once

#include <string>

#include "imaging/read_problem.h"
#include "imaging/rgb_image.h"

namespace zendrel {

struct ArchiveJpegs {
  bool readable = false;  // false: the original cannot be read; why in `reading`
  PictureReading reading;
  std::string display;    // fitted within 1024 by 768, quality 85
  std::string thumbnail;  // 96 by 96, quality 85
};

// `original` is a native path.
ArchiveJpegs Make_archive_jpegs(const std::string& original);

// True when `path` (native) holds a whole JPEG whose size is within `box`
// (`exact`: exactly `box`) and whose comment says it was made from
// `made_from`: an archive copy made by an earlier run from this very
// picture. Reads only the file's head and its last two bytes.
bool Is_archive_copy(const std::string& path, PixelSize box, bool exact,
                     const std::string& made_from);

// What a copy is made from, as its comment records it: the original's size,
// modification time and name. A name reused by another picture, or a
// picture changed with its time kept, then no longer matches.
std::string Made_from_text(long long size, long long modified_ns, const std::string& name);

// `jpeg` with a comment segment holding `text` after its start marker.
std::string With_comment(const std::string& jpeg, const std::string& text);

}  // namespace zendrel
