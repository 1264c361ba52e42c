#include "imaging/archive_picture.h"

#include <cstring>

#include "imaging/jpeg_layout.h"
#include "imaging/orientation.h"
#include "imaging/resample.h"

namespace zendrel {

RgbImage Upright_picture(JpegDecoder& decoder, std::string_view jpeg, PixelSize box, bool enlarge) {
  JpegLayout layout = Read_jpeg_layout(jpeg);
  // A picture cut short would come out with a grey part where its data end.
  if (!layout.is_jpeg || !layout.complete) return {};
  std::optional<PixelSize> stored = decoder.Read_size(jpeg);
  if (!stored) return {};
  int orientation = Exif_orientation(layout.exif);
  PixelSize shown = Fit_within(Oriented_size(*stored, orientation), box, enlarge);
  PixelSize wanted = Oriented_size(shown, orientation);  // the same rotation undoes itself
  ScalingFactor factor = JpegDecoder::Factor_for(*stored, wanted);
  RgbImage decoded = decoder.Decode(jpeg, factor);
  if (decoded.empty()) return {};
  if (decoded.size() != wanted) decoded = Resized(decoded, wanted);
  return Oriented(std::move(decoded), orientation);
}

RgbImage Thumbnail_of(const RgbImage& picture) {
  if (picture.empty()) return {};
  PixelSize fitted = Fit_within(picture.size(), {kThumbnailSide, kThumbnailSide}, true);
  RgbImage inner = Resized(picture, fitted);
  RgbImage square(kThumbnailSide, kThumbnailSide);
  std::memset(square.data(), 0, square.stride() * square.height());
  int left = (kThumbnailSide - fitted.width) / 2;
  int top = (kThumbnailSide - fitted.height) / 2;
  for (int y = 0; y < fitted.height; ++y)
    std::memcpy(square.row(top + y) + left * 3, inner.row(y), inner.stride());
  return square;
}

}  // namespace zendrel
