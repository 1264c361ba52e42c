// What the files beside the pictures in a camera's or phone's folder are,
// told by their extension: the directory scan hands pictures (and files it
// cannot tell) to picture processing, which decides by their content, and
// names the rest by kind so that nothing is left out silently.
#pragma once

#include <optional>
#include <string>

namespace zendrel {

enum class LeftOut {
  kVideo,                // .mov, .mp4 and the like: clips and Live Photos
  kRawPhoto,             // .cr2, .nef, .dng and the like
  kSidecar,              // .aae, .xmp, .thm: edits and metadata beside a picture
  kSound,                // .wav, .m4a: voice notes
  kDanglingLink,         // a symbolic link to nothing
  kNameUnrepresentable,  // a name that the system's text holds only like another's
  kTrailingSpace,        // a name ending in a blank, which Windows paths drop
  kUnfitCharacter,       // a name holding a control character or "\"
};

// The kind of a file that is no picture, or whose name (in the system's
// text) the archive's paths and tab-delimited catalogue cannot hold, by its
// name (any letter case); nullopt for pictures and for files to be judged
// by their content.
std::optional<LeftOut> Left_out_by_name(const std::string& name);

// The archive's own files, which a run into its source directory finds there.
bool Is_archive_file_name(const std::string& name);

}  // namespace zendrel
