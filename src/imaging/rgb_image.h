// A picture in memory: 8-bit RGB pixels, rows top to bottom, no padding
// between rows. Owns its pixels; movable, not copied by accident.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zendrel {

struct PixelSize {
  int width = 0;
  int height = 0;
  bool operator==(const PixelSize&) const = default;
};

class RgbImage {
 public:
  RgbImage() = default;
  // Pixels are left uninitialised: every producer writes all of them.
  RgbImage(int width, int height)
      : width_(width),
        height_(height),
        pixels_(std::make_unique_for_overwrite<uint8_t[]>(size_t(width) * height * 3)) {}

  int width() const { return width_; }
  int height() const { return height_; }
  PixelSize size() const { return {width_, height_}; }
  size_t stride() const { return size_t(width_) * 3; }
  uint8_t* data() { return pixels_.get(); }
  const uint8_t* data() const { return pixels_.get(); }
  uint8_t* row(int y) { return pixels_.get() + size_t(y) * stride(); }
  const uint8_t* row(int y) const { return pixels_.get() + size_t(y) * stride(); }
  bool empty() const { return !pixels_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::unique_ptr<uint8_t[]> pixels_;
};

}  // namespace zendrel
