// Why a picture could not be read, as precisely as the decoders tell it,
// and what the reading met when it could.
#pragma once

#include "imaging/rgb_image.h"

namespace zendrel {

enum class ReadProblem {
  kNone,
  kMissing,               // gone, or not a regular file
  kNoPermission,          // the system refuses to open it
  kEmpty,                 // no bytes at all
  kNotPicture,            // no picture format this program reads
  kUnsupportedFormat,     // a picture of a kind it does not decode (GIF)
  kIncompleteUnreadable,  // cut short before anything decodes
  kTwelveBit,             // a 12-bit JPEG
  kTooLarge,              // wider, higher or larger than the limits
  kOverBudget,            // would take more memory than a whole run may
  kDamaged,               // a known format that does not decode
};

struct PictureReading {
  ReadProblem problem = ReadProblem::kNone;
  bool incomplete = false;  // archived with what decodes of a file cut short
  PixelSize size;           // as stored, when known (for "too large")
};

}  // namespace zendrel
