// Small JPEG pictures made on the spot for the imaging tests, and reading
// back what the scaler wrote.
#pragma once

#include <turbojpeg.h>

#include <cstdlib>
#include <string>

#include "imaging/jpeg_codec.h"
#include "imaging/orientation.h"
#include "imaging/rgb_image.h"

namespace zendrel::testing {

struct Rgb {
  int r, g, b;
};

inline RgbImage Filled(int width, int height, Rgb color) {
  RgbImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = image.row(y) + x * 3;
      p[0] = uint8_t(color.r), p[1] = uint8_t(color.g), p[2] = uint8_t(color.b);
    }
  return image;
}

inline void Paint(RgbImage& image, int x0, int y0, int w, int h, Rgb color) {
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) {
      uint8_t* p = image.row(y) + x * 3;
      p[0] = uint8_t(color.r), p[1] = uint8_t(color.g), p[2] = uint8_t(color.b);
    }
}

inline std::string Jpeg_of(const RgbImage& image, int orientation = 1) {
  JpegEncoder encoder;
  std::string jpeg(encoder.Encode(image, 95));
  return orientation == 1 ? jpeg : With_orientation_tag(jpeg, orientation);
}

// The same picture as a progressive JPEG, many scans.
inline std::string Progressive_jpeg_of(const RgbImage& image) {
  tjhandle handle = tjInitCompress();
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::string jpeg;
  if (tjCompress2(handle, image.data(), image.width(), 0, image.height(), TJPF_RGB, &buffer, &size,
                  TJSAMP_420, 90, TJFLAG_PROGRESSIVE) == 0) {
    jpeg.assign(reinterpret_cast<const char*>(buffer), size);
  }
  tjFree(buffer);
  tjDestroy(handle);
  return jpeg;
}

// A grey picture whose stored top-left corner is red.
inline std::string Marked_jpeg(int width, int height, int orientation) {
  RgbImage image = Filled(width, height, {128, 128, 128});
  Paint(image, 0, 0, width / 5, height / 5, {255, 0, 0});
  return Jpeg_of(image, orientation);
}

inline RgbImage Decoded(const std::string& jpeg) {
  JpegDecoder decoder;
  return decoder.Decode(jpeg, ScalingFactor{1, 1});
}

inline Rgb Pixel(const RgbImage& image, int x, int y) {
  const uint8_t* p = image.row(y) + x * 3;
  return {p[0], p[1], p[2]};
}

inline bool Near(Rgb a, Rgb b, int tolerance = 24) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

}  // namespace zendrel::testing
