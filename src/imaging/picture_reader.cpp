#include "imaging/picture_reader.h"

namespace zendrel {

std::unique_ptr<PictureReader> Make_png_reader();
std::unique_ptr<PictureReader> Make_webp_reader();
std::unique_ptr<PictureReader> Make_tiff_reader();
std::unique_ptr<PictureReader> Make_heif_reader();

std::unique_ptr<PictureReader> Reader_for(PictureFormat format) {
  switch (format) {
    case PictureFormat::kPng:
      return Make_png_reader();
    case PictureFormat::kWebp:
      return Make_webp_reader();
    case PictureFormat::kTiff:
      return Make_tiff_reader();
    case PictureFormat::kHeif:
      return Make_heif_reader();
    default:
      return nullptr;
  }
}

}  // namespace zendrel
