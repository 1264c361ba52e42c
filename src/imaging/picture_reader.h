// One decoder of a picture format other than JPEG (which keeps its own
// DCT-scaled path): the header first, so that the size can be checked and
// the memory reserved before any pixels are made, then the whole picture
// as RGB with its colour profile and EXIF orientation. Use one reader per
// picture and per thread.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "imaging/picture_format.h"
#include "imaging/rgb_image.h"

namespace zendrel {

class PictureReader {
 public:
  virtual ~PictureReader() = default;
  // Reads the header of `bytes`, which must outlive the reader; false when
  // it is not readable.
  virtual bool Open(std::string_view bytes) = 0;
  // The size as stored (valid after Open).
  virtual PixelSize size() const = 0;
  // Bytes a pixel the decoder holds while decoding, beyond the result.
  virtual int working_bytes_per_pixel() const = 0;
  // The most pixels decoding may make (valid after Open): the size as
  // stored, unless the format lets the decoder make more than it declares.
  virtual long long decoded_pixels_at_most() const {
    return (long long)size().width * size().height;
  }
  // The whole picture; false on a damaged file.
  virtual bool Decode(RgbImage* out) = 0;

  // Filled by Open or Decode: an ICC profile, and the EXIF orientation to
  // apply (1 where the decoder has already turned the picture).
  std::string icc;
  int orientation = 1;
};

// A reader for `format`; nullptr for JPEG, GIF and unknown data.
std::unique_ptr<PictureReader> Reader_for(PictureFormat format);

// Alpha is laid on white, as a page shows a transparent picture.
inline uint8_t Over_white(unsigned value, unsigned alpha) {
  return uint8_t((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

}  // namespace zendrel
