#include "imaging/jpeg_codec.h"

#include <turbojpeg.h>

#include <cstdlib>

#include "imaging/color_profile.h"
#include "imaging/libjpeg_decode.h"

namespace zendrel {
namespace {

// Adobe applications store CMYK inverted, which is what nearly every CMYK
// JPEG in the wild comes from.
void Cmyk_to_rgb(const uint8_t* cmyk, RgbImage& out) {
  uint8_t* rgb = out.data();
  size_t count = size_t(out.width()) * out.height();
  for (size_t i = 0; i < count; ++i, cmyk += 4, rgb += 3) {
    unsigned k = cmyk[3];
    rgb[0] = uint8_t((cmyk[0] * k + 127) / 255);
    rgb[1] = uint8_t((cmyk[1] * k + 127) / 255);
    rgb[2] = uint8_t((cmyk[2] * k + 127) / 255);
  }
}

unsigned char* Bytes(std::string_view jpeg) {
  // TurboJPEG 2.1 takes a non-const pointer but only reads through it.
  return reinterpret_cast<unsigned char*>(const_cast<char*>(jpeg.data()));
}

// Stops decoding after a few hundred scans of a progressive picture, which
// a crafted file could otherwise multiply without end.
constexpr int kDecodeFlags = TJFLAG_LIMITSCANS;

}  // namespace

JpegDecoder::JpegDecoder() : handle_(tjInitDecompress()) {}
JpegDecoder::~JpegDecoder() {
  if (handle_) tjDestroy(handle_);
}

void JpegDecoder::Renew() {
  if (handle_) tjDestroy(handle_);
  handle_ = tjInitDecompress();
}

std::optional<PixelSize> JpegDecoder::Read_size(std::string_view jpeg) {
  int width = 0, height = 0, subsampling = 0, colorspace = 0;
  if (!handle_ || jpeg.empty()) return std::nullopt;
  if (tjDecompressHeader3(handle_, Bytes(jpeg), jpeg.size(), &width, &height, &subsampling,
                          &colorspace) != 0) {
    Renew();
    return Libjpeg_read_size(jpeg);  // sampling factors the simple API does not know
  }
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide ||
      (long long)width * height > kMaxPixels) {
    return std::nullopt;
  }
  return PixelSize{width, height};
}

ScalingFactor JpegDecoder::Factor_for(PixelSize size, PixelSize target) {
  int count = 0;
  const tjscalingfactor* factors = tjGetScalingFactors(&count);
  ScalingFactor best;
  for (int i = 0; factors && i < count; ++i) {
    ScalingFactor f{factors[i].num, factors[i].denom};
    if (f.num > f.denom) continue;
    if (f.Scaled(size.width) < target.width || f.Scaled(size.height) < target.height) continue;
    if ((long long)f.num * best.denom < (long long)best.num * f.denom) best = f;
  }
  return best;
}

bool JpegDecoder::Decode(std::string_view jpeg, ScalingFactor factor, RgbImage* out,
                         std::string_view icc) {
  int width = 0, height = 0, subsampling = 0, colorspace = 0;
  if (!handle_) return false;
  // A header cut short can pass with warnings and no size.
  if (tjDecompressHeader3(handle_, Bytes(jpeg), jpeg.size(), &width, &height, &subsampling,
                          &colorspace) != 0 ||
      width < 1 || height < 1) {
    Renew();
    return Libjpeg_decode(jpeg, factor, out, icc);  // sampling factors the simple API does not know
  }
  out->Reshape(factor.Scaled(width), factor.Scaled(height));
  bool cmyk = colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;
  uint8_t* target = out->data();
  if (cmyk) {
    size_t needed = size_t(out->width()) * out->height() * 4;
    if (needed > cmyk_size_) {
      cmyk_ = std::make_unique_for_overwrite<uint8_t[]>(needed);
      cmyk_size_ = needed;
    }
    target = cmyk_.get();
  }
  int result = tjDecompress2(handle_, Bytes(jpeg), jpeg.size(), target, out->width(), 0,
                             out->height(), cmyk ? TJPF_CMYK : TJPF_RGB, kDecodeFlags);
  if (result != 0) {
    bool warning_only = tjGetErrorCode(handle_) == TJERR_WARNING;
    Renew();
    if (!warning_only) return Libjpeg_decode(jpeg, factor, out, icc);
  }
  if (cmyk &&
      !Cmyk_to_srgb(cmyk_.get(), true, size_t(out->width()) * out->height(), out->data(), icc))
    Cmyk_to_rgb(cmyk_.get(), *out);
  return true;
}

RgbImage JpegDecoder::Decode(std::string_view jpeg, ScalingFactor factor) {
  RgbImage out;
  Decode(jpeg, factor, &out);
  return out;
}

JpegEncoder::JpegEncoder() : handle_(tjInitCompress()) {}
JpegEncoder::~JpegEncoder() {
  if (handle_) tjDestroy(handle_);
  tjFree(buffer_);
}

void JpegEncoder::Renew() {
  if (handle_) tjDestroy(handle_);
  handle_ = tjInitCompress();
}

std::string_view JpegEncoder::Encode(const RgbImage& image, int quality) {
  if (!handle_ || image.empty()) return {};
  unsigned long needed = tjBufSize(image.width(), image.height(), TJSAMP_420);
  if (needed == (unsigned long)-1) return {};
  if (needed > capacity_) {
    tjFree(buffer_);
    buffer_ = tjAlloc(int(needed));
    capacity_ = buffer_ ? needed : 0;
    if (!buffer_) return {};
  }
  unsigned long size = capacity_;
  int result = tjCompress2(handle_, image.data(), image.width(), 0, image.height(), TJPF_RGB,
                           &buffer_, &size, TJSAMP_420, quality, TJFLAG_NOREALLOC);
  if (result != 0) {
    Renew();
    return {};
  }
  return {reinterpret_cast<const char*>(buffer_), size};
}

}  // namespace zendrel
