// The EXIF orientation of a photograph and the pixel transform that makes it
// stand upright. Values follow the EXIF tag: 1 upright, 2 mirrored, 3 turned
// 180 degrees, 4 flipped, 5 transposed, 6 to be turned 90 degrees clockwise,
// 7 transversed, 8 to be turned 90 degrees anticlockwise. Pure functions;
// safe on any thread.
#pragma once

#include <string>
#include <string_view>

#include "imaging/rgb_image.h"

namespace zendrel {

// The orientation in an APP1 payload that starts with "Exif\0\0", read with
// libexif; 1 when there is none or it is out of range.
int Exif_orientation(std::string_view exif_payload);

// Orientations 5 to 8 exchange width and height.
inline bool Swaps_sides(int orientation) { return orientation >= 5 && orientation <= 8; }
inline PixelSize Oriented_size(PixelSize size, int orientation) {
  return Swaps_sides(orientation) ? PixelSize{size.height, size.width} : size;
}

// `image` as it should be shown, into `out` (not `image` itself).
void Orient_into(const RgbImage& image, int orientation, RgbImage* out);
// The same; orientation 1 hands the image back unchanged.
RgbImage Oriented(RgbImage image, int orientation);

// A JPEG file with an EXIF block holding `orientation` placed after its
// start marker (for the sample pictures and tests). Empty on failure.
std::string With_orientation_tag(const std::string& jpeg, int orientation);

}  // namespace zendrel
