// The body of the fuzz targets of the picture decoders: any bytes through
// the format's reader as a run uses it, with the run's size limits and a
// picture area small enough for the fuzzer's memory limit.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "imaging/jpeg_codec.h"
#include "imaging/picture_reader.h"

inline int Fuzz_picture_reader(zendrel::PictureFormat format, const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto reader = zendrel::Reader_for(format);
  if (!reader || !reader->Open(bytes)) return 0;
  zendrel::PixelSize stored = reader->size();
  if (stored.width < 1 || stored.height < 1 || stored.width > zendrel::kMaxSide ||
      stored.height > zendrel::kMaxSide || reader->decoded_pixels_at_most() > 4'000'000)
    return 0;
  zendrel::RgbImage image;
  if (reader->Decode(&image)) {
    if (image.empty() || image.width() > zendrel::kMaxSide || image.height() > zendrel::kMaxSide ||
        (long long)image.width() * image.height() > reader->decoded_pixels_at_most())
      std::abort();
    if (reader->orientation < 1 || reader->orientation > 8) std::abort();
  }
  return 0;
}
