// JPEG decoding with DCT-domain scaling and JPEG encoding, on TurboJPEG.
// Each object holds its own TurboJPEG handle: use one per thread, or one per
// call; nothing is shared between objects.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "imaging/rgb_image.h"

namespace zendrel {

// Pictures larger than this are refused before anything is allocated.
inline constexpr int kMaxSide = 30000;
inline constexpr long long kMaxPixels = 200'000'000;

struct ScalingFactor {
  int num = 1;
  int denom = 1;
  int Scaled(int side) const { return (side * num + denom - 1) / denom; }
  bool operator==(const ScalingFactor&) const = default;
};

class JpegDecoder {
 public:
  JpegDecoder();
  ~JpegDecoder();
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  // The picture's size as stored; nullopt when the header cannot be read or
  // the picture is larger than the limits above.
  std::optional<PixelSize> Read_size(std::string_view jpeg);

  // The smallest factor that keeps a picture of `size` at least `target`
  // in both directions, never above 1.
  static ScalingFactor Factor_for(PixelSize size, PixelSize target);

  // Decodes at `factor` (one of Factor_for's results) into RGB. A CMYK
  // picture goes to sRGB through `icc` when that is a CMYK profile, and as
  // stored otherwise. Warnings about damaged data are accepted; on errors
  // returns false.
  bool Decode(std::string_view jpeg, ScalingFactor factor, RgbImage* out,
              std::string_view icc = {});
  RgbImage Decode(std::string_view jpeg, ScalingFactor factor);

 private:
  // A handle that has met an error may refuse the next picture: start afresh.
  void Renew();

  void* handle_;
  std::unique_ptr<uint8_t[]> cmyk_;  // CMYK pixels before conversion
  size_t cmyk_size_ = 0;
};

class JpegEncoder {
 public:
  JpegEncoder();
  ~JpegEncoder();
  JpegEncoder(const JpegEncoder&) = delete;
  JpegEncoder& operator=(const JpegEncoder&) = delete;

  // Baseline JPEG, 4:2:0 chroma, at `quality`: the bytes stay valid until
  // the next call. Empty on failure.
  std::string_view Encode(const RgbImage& image, int quality);

 private:
  void Renew();

  void* handle_;
  unsigned char* buffer_ = nullptr;  // from tjAlloc, reused while large enough
  unsigned long capacity_ = 0;
};

}  // namespace zendrel
