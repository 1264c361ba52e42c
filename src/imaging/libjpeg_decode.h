// JPEG decoding through libjpeg-turbo's full libjpeg API, for the valid
// pictures that TurboJPEG's simple API refuses: it only knows the common
// chroma subsamplings, while libjpeg decodes any sampling factors that the
// JPEG standard allows. Same limits and results as JpegDecoder.
#pragma once

#include <optional>
#include <string_view>

#include "imaging/jpeg_codec.h"
#include "imaging/rgb_image.h"

namespace zendrel {

// The picture's size as stored; nullopt when the header cannot be read or
// the picture exceeds kMaxSide or kMaxPixels.
std::optional<PixelSize> Libjpeg_read_size(std::string_view jpeg);

// Decodes at `factor` (n/8 as TurboJPEG offers) into RGB; CMYK and YCCK are
// read as Adobe stores them, through `icc` when that is a CMYK profile. Warnings about damaged data
// are accepted; on errors returns false with `out` cleared.
bool Libjpeg_decode(std::string_view jpeg, ScalingFactor factor, RgbImage* out,
                    std::string_view icc = {});

}  // namespace zendrel
