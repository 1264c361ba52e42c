// Colours as a browser shows the original: a picture whose ICC profile is
// not sRGB (Display P3 from phones, Adobe RGB from cameras) is converted to
// sRGB with LittleCMS, as the archive's JPEG copies carry no profile and are
// shown as sRGB. Untagged pictures and sRGB profiles cost nothing beyond
// recognising the profile once per thread. Safe on any thread.
#pragma once

#include <string_view>

#include "imaging/rgb_image.h"

namespace zendrel {

// Converts `image` in place from the colours of `icc` (RGB or greyscale
// profiles) to sRGB. Leaves it as it is when `icc` is empty, sRGB, damaged,
// or of another colour space.
void Convert_to_srgb(RgbImage& image, std::string_view icc);

// True when `icc` is an RGB profile whose primaries and tone curves are
// those of sRGB, within what an 8-bit picture can show.
bool Is_srgb_profile(std::string_view icc);

}  // namespace zendrel
