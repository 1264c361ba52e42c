// Colours as a browser shows the original: a picture whose ICC profile is
// not sRGB (Display P3 from phones, Adobe RGB from cameras) is converted to
// sRGB with LittleCMS, as the archive's JPEG copies carry no profile and are
// shown as sRGB. Untagged pictures and sRGB profiles cost nothing beyond
// recognising the profile once per thread. Safe on any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/rgb_image.h"

namespace zendrel {

// Converts `image` in place from the colours of `icc` (RGB or greyscale
// profiles) to sRGB. Leaves it as it is when `icc` is empty, sRGB, damaged,
// or of another colour space (a CMYK picture is converted as it is decoded).
void Convert_to_srgb(RgbImage& image, std::string_view icc);

// Converts `count` CMYK pixels to sRGB through the CMYK profile `icc`:
// `inverted` as Adobe applications store CMYK in JPEG (255 is no ink),
// otherwise as TIFF stores it (0 is no ink). False, with nothing written,
// when `icc` is empty, damaged or no CMYK profile.
bool Cmyk_to_srgb(const uint8_t* cmyk, bool inverted, size_t count, uint8_t* rgb,
                  std::string_view icc);

// The colours of a picture described by code points (HEIF's nclx box)
// rather than by an ICC profile: chromaticities and a tone curve.
struct ColourPrimaries {
  double red_x, red_y, green_x, green_y, blue_x, blue_y, white_x, white_y;
};
enum class ToneCurve { kSrgb, kGamma22, kGamma28, kLinear };

// An ICC profile of those colours for Convert_to_srgb; empty when they are
// sRGB's within what an 8-bit picture shows (nothing to convert), or when
// they make no profile.
std::string Rgb_profile_of(const ColourPrimaries& primaries, ToneCurve curve);

// True when `icc` is an RGB profile whose primaries and tone curves are
// those of sRGB, within what an 8-bit picture can show.
bool Is_srgb_profile(std::string_view icc);

}  // namespace zendrel
