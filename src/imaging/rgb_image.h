// A picture in memory: 8-bit RGB pixels, rows top to bottom, no padding
// between rows. Owns its pixels; movable, not copied by accident. Reshape
// keeps the storage when it is large enough, so a picture after picture
// loop does not ask the system for fresh memory each time.
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
  RgbImage(int width, int height) { Reshape(width, height); }

  // New dimensions; the pixels are left as they happen to be.
  void Reshape(int width, int height) {
    size_t needed = size_t(width) * height * 3;
    if (needed > capacity_ || !pixels_) {
      pixels_ = std::make_unique_for_overwrite<uint8_t[]>(needed ? needed : 1);
      capacity_ = needed;
    }
    width_ = width;
    height_ = height;
  }
  // Gives the storage back when it is larger than `bytes`.
  void Release_above(size_t bytes) {
    if (capacity_ > bytes) *this = RgbImage();
  }

  int width() const { return width_; }
  int height() const { return height_; }
  PixelSize size() const { return {width_, height_}; }
  size_t stride() const { return size_t(width_) * 3; }
  uint8_t* data() { return pixels_.get(); }
  const uint8_t* data() const { return pixels_.get(); }
  uint8_t* row(int y) { return pixels_.get() + size_t(y) * stride(); }
  const uint8_t* row(int y) const { return pixels_.get() + size_t(y) * stride(); }
  bool empty() const { return !pixels_ || width_ < 1 || height_ < 1; }
  // No picture any more; the storage is kept for the next.
  void Clear() { width_ = height_ = 0; }

 private:
  int width_ = 0;
  int height_ = 0;
  size_t capacity_ = 0;
  std::unique_ptr<uint8_t[]> pixels_;
};

}  // namespace zendrel
