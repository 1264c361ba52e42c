// Making a picture's two archive copies in one go: the display copy (fitted
// within 1024 by 768, never enlarged) and the 96 by 96 thumbnail, both from
// one decode of the original, EXIF orientation applied, JPEG quality 85.
// Outputs are written whole or not at all (a temporary file renamed into
// place). No global state: safe on several threads at once.
#pragma once

#include <string>

namespace zendrel {

enum class ScaleOutcome {
  kMade,         // both files written
  kUnreadable,   // the original is missing, not a JPEG, damaged or a directory
  kWriteFailed,  // an output could not be written: a destination problem
};

struct ScaleResult {
  ScaleOutcome outcome = ScaleOutcome::kMade;
  std::string failed_name;  // with kWriteFailed: the file name that failed
  std::string cause;        // with kWriteFailed: the system's reason
};

// Paths are native.
ScaleResult Make_archive_pictures(const std::string& original, const std::string& display,
                                  const std::string& thumbnail);

}  // namespace zendrel
