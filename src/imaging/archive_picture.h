// The steps shared by the display copy and the thumbnail: decode a JPEG at
// the smallest DCT scale that still covers the wanted size, resample to that
// size, turn it upright by its EXIF orientation; and fit a picture into the
// 96 by 96 thumbnail cell. Safe on several threads (each call makes its own
// codec objects unless given some).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "imaging/jpeg_codec.h"
#include "imaging/rgb_image.h"

namespace zendrel {

inline constexpr PixelSize kDisplayBox{1024, 768};
inline constexpr int kThumbnailSide = 96;
inline constexpr int kArchiveQuality = 85;
// Larger files are not taken for photographs.
inline constexpr size_t kMaxPictureBytes = size_t(512) << 20;

// `jpeg` upright and fitted within `box` (enlarged only with `enlarge`);
// an empty image when it cannot be read: not a JPEG, cut short, too large,
// or damaged beyond decoding.
RgbImage Upright_picture(JpegDecoder& decoder, std::string_view jpeg, PixelSize box, bool enlarge);

// `picture` fitted inside a black 96 by 96 square, centred.
RgbImage Thumbnail_of(const RgbImage& picture);

}  // namespace zendrel
