#include "imaging/picture_format.h"

namespace zendrel {
namespace {

// The brands of the ISO media files that hold HEIF still pictures (HEIC,
// AVIF is left out: libheif here is built without an AV1 decoder).
bool Heif_brand(std::string_view brand) {
  for (std::string_view known : {"heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1"})
    if (brand == known) return true;
  return false;
}

}  // namespace

PictureFormat Picture_format_of(std::string_view head) {
  if (head.starts_with("\xFF\xD8\xFF")) return PictureFormat::kJpeg;
  if (head.starts_with("\x89PNG\r\n\x1A\n")) return PictureFormat::kPng;
  if (head.size() >= 12 && head.starts_with("RIFF") && head.substr(8, 4) == "WEBP")
    return PictureFormat::kWebp;
  if (head.starts_with(std::string_view("II*\0", 4)) ||
      head.starts_with(std::string_view("MM\0*", 4)))
    return PictureFormat::kTiff;
  if (head.starts_with("GIF87a") || head.starts_with("GIF89a")) return PictureFormat::kGif;
  if (head.size() >= 12 && head.substr(4, 4) == "ftyp" && Heif_brand(head.substr(8, 4)))
    return PictureFormat::kHeif;
  return PictureFormat::kUnknown;
}

}  // namespace zendrel
