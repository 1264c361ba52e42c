#include "imaging/orientation.h"

#include <libexif/exif-data.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace zendrel {
namespace {

struct ExifDataDeleter {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};
using ExifDataPtr = std::unique_ptr<ExifData, ExifDataDeleter>;

// Where output pixel (x, y) takes its colour from, for an input of `w` by `h`.
struct SourceMap {
  int x0, y0;      // source of output (0, 0)
  int dx_x, dx_y;  // source step for one output column
  int dy_x, dy_y;  // source step for one output row
};

SourceMap Map_for(int orientation, int w, int h) {
  switch (orientation) {
    case 2:
      return {w - 1, 0, -1, 0, 0, 1};
    case 3:
      return {w - 1, h - 1, -1, 0, 0, -1};
    case 4:
      return {0, h - 1, 1, 0, 0, -1};
    case 5:
      return {0, 0, 0, 1, 1, 0};
    case 6:
      return {0, h - 1, 0, -1, 1, 0};
    case 7:
      return {w - 1, h - 1, 0, -1, -1, 0};
    case 8:
      return {w - 1, 0, 0, 1, -1, 0};
    default:
      return {0, 0, 1, 0, 0, 1};
  }
}

}  // namespace

int Exif_orientation(std::string_view exif_payload) {
  if (exif_payload.empty()) return 1;
  ExifDataPtr data(exif_data_new());
  if (!data) return 1;
  // Read only: no repairs, no maker notes rewritten.
  exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(exif_payload.data()),
                      static_cast<unsigned int>(exif_payload.size()));
  ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
  if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || entry->size < 2)
    return 1;
  int value = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
  return value >= 1 && value <= 8 ? value : 1;
}

RgbImage Oriented(RgbImage image, int orientation) {
  if (orientation < 2 || orientation > 8) return image;
  RgbImage out;
  Orient_into(image, orientation, &out);
  return out;
}

void Orient_into(const RgbImage& image, int orientation, RgbImage* out_image) {
  RgbImage& out = *out_image;
  PixelSize out_size = Oriented_size(image.size(), orientation);
  out.Reshape(out_size.width, out_size.height);
  SourceMap map = Map_for(orientation, image.width(), image.height());
  const ptrdiff_t stride = ptrdiff_t(image.stride());
  const ptrdiff_t column_step = map.dx_y * stride + map.dx_x * 3;
  const uint8_t* base = image.data();
  for (int y = 0; y < out.height(); ++y) {
    const uint8_t* source = base + (map.y0 + y * map.dy_y) * stride + (map.x0 + y * map.dy_x) * 3;
    uint8_t* target = out.row(y);
    for (int x = 0; x < out.width(); ++x, source += column_step, target += 3) {
      target[0] = source[0];
      target[1] = source[1];
      target[2] = source[2];
    }
  }
}

std::string With_orientation_tag(const std::string& jpeg, int orientation) {
  if (jpeg.size() < 2) return {};
  ExifDataPtr data(exif_data_new());
  if (!data) return {};
  exif_data_set_byte_order(data.get(), EXIF_BYTE_ORDER_INTEL);
  ExifEntry* entry = exif_entry_new();
  if (!entry) return {};
  exif_content_add_entry(data->ifd[EXIF_IFD_0], entry);
  exif_entry_initialize(entry, EXIF_TAG_ORIENTATION);
  exif_entry_unref(entry);  // the IFD holds it now
  exif_set_short(entry->data, EXIF_BYTE_ORDER_INTEL, static_cast<ExifShort>(orientation));

  unsigned char* block = nullptr;
  unsigned int block_size = 0;
  exif_data_save_data(data.get(), &block, &block_size);
  if (!block || block_size + 2 > 0xFFFF) {
    std::free(block);
    return {};
  }
  std::string segment = "\xFF\xE1";
  segment += char((block_size + 2) >> 8);
  segment += char((block_size + 2) & 0xFF);
  segment.append(reinterpret_cast<const char*>(block), block_size);
  std::free(block);
  return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

}  // namespace zendrel
