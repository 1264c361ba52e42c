// The main window's five kinds of run and the answers to the copy-originals
// question, with the numbers the window's option buttons and the copy
// dialog have always used.
#pragma once

#include <cstdint>

namespace zendrel {

enum class RunMode : int {
  kCatalogue = 1,            // catalogue file, pictures at the paths it names
  kCatalogueFromSource = 2,  // catalogue file, pictures from the source directory
  kSourceDirectory = 3,      // every picture of the source directory
  kMaster = 4,               // master archive of the destination's subdirectories
  kEditArchive = 5,          // the record editor on an existing archive page
};

enum class CopyMode : int16_t {
  kCancelled = -1,   // the question was cancelled: no run
  kNoCopy = 0,       // the originals are not copied
  kKeepNames = 1,    // copied under their own names
  kUniqueNames = 2,  // copied under the archive's unique copy names
};

}  // namespace zendrel
