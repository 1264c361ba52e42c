// What kind of picture a file holds, told by its first bytes rather than by
// its name: cameras, phones and editors name files as they like, and a PNG
// saved as ".jpg" is still a PNG. Pure; safe on any thread.
#pragma once

#include <string_view>

namespace zendrel {

enum class PictureFormat { kUnknown, kJpeg, kPng, kWebp, kTiff, kHeif, kGif };

// Needs at most the first kFormatHeadBytes bytes.
inline constexpr size_t kFormatHeadBytes = 32;
PictureFormat Picture_format_of(std::string_view head);

}  // namespace zendrel
