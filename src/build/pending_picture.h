// One picture between the source's delivery and its writing: what picture
// processing worked out when the picture came in, and its copies being made.
#pragma once

#include <future>
#include <string>

#include "build/archive_names.h"
#include "catalog/picture_record.h"
#include "imaging/archive_jpegs.h"

namespace zendrel {

struct PendingPicture {
  PictureRecord record;     // as delivered
  bool skipped = true;      // nothing to write: only the event-loop turn
  std::string directory;    // where the picture is taken from
  std::string file_name;    // as recorded: ".JPG" made ".jpg" where that names no other file
  std::string source_path;  // directory + "\" + the file's own name
  std::string dest;         // destination, ending in "\"
  ArchiveNames names;
  std::string native_display, native_thumbnail;
  std::string made_from;             // the original's size, time and name, recorded in the copies
  bool kept = false;                 // both copies from an earlier run are kept as they are
  std::future<ArchiveJpegs> copies;  // when made anew
};

}  // namespace zendrel
