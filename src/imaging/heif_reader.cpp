// HEIF (HEIC) through libheif: the primary picture, turned and mirrored as
// its container says (libheif applies the irot and imir boxes). The EXIF
// orientation a phone also writes describes the same turn, so it is never
// applied on top. The colr box's ICC profile comes along, or a profile made
// from its nclx code points.
#include <libheif/heif.h>

#include <algorithm>
#include <cstring>

#include "imaging/color_profile.h"
#include "imaging/heif_grid.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture_reader.h"

namespace zendrel {
namespace {

// What a coded picture or tile may exceed the declared size by: coding
// units pad a picture, and a small picture may sit in one larger tile.
constexpr int kCodedMargin = 128;

// The tone curve of an nclx transfer. BT.709's (and BT.601's and BT.2020's,
// the same curve) is shown as sRGB's, as browsers show such pictures.
ToneCurve Curve_of(heif_transfer_characteristics transfer) {
  switch (transfer) {
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_M:
      return ToneCurve::kGamma22;
    case heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G:
      return ToneCurve::kGamma28;
    case heif_transfer_characteristic_linear:
      return ToneCurve::kLinear;
    default:
      return ToneCurve::kSrgb;
  }
}

// A profile for the nclx colours; empty for sRGB's and unspecified ones.
std::string Nclx_profile(const heif_image_handle* handle) {
  heif_color_profile_nclx* nclx = nullptr;
  if (heif_image_handle_get_nclx_color_profile(handle, &nclx).code != heif_error_Ok || !nclx)
    return {};
  std::string icc;
  if (nclx->color_primaries != heif_color_primaries_unspecified &&
      nclx->color_primaries != heif_color_primaries_ITU_R_BT_709_5) {
    ColourPrimaries primaries{nclx->color_primary_red_x,   nclx->color_primary_red_y,
                              nclx->color_primary_green_x, nclx->color_primary_green_y,
                              nclx->color_primary_blue_x,  nclx->color_primary_blue_y,
                              nclx->color_primary_white_x, nclx->color_primary_white_y};
    icc = Rgb_profile_of(primaries, Curve_of(nclx->transfer_characteristics));
  } else if (Curve_of(nclx->transfer_characteristics) != ToneCurve::kSrgb) {
    icc = Rgb_profile_of({0.64, 0.33, 0.30, 0.60, 0.15, 0.06, 0.3127, 0.3290},
                         Curve_of(nclx->transfer_characteristics));
  }
  heif_nclx_color_profile_free(nclx);
  return icc;
}

class HeifReader final : public PictureReader {
 public:
  HeifReader() : context_(heif_context_alloc()) {}
  ~HeifReader() override {
    if (handle_) heif_image_handle_release(handle_);
    if (context_) heif_context_free(context_);
  }

  bool Open(std::string_view bytes) override {
    if (!context_) return false;
    heif_context_set_maximum_image_size_limit(context_, kMaxSide);
    if (heif_context_read_from_memory_without_copy(context_, bytes.data(), bytes.size(), nullptr)
                .code != heif_error_Ok ||
        heif_context_get_primary_image_handle(context_, &handle_).code != heif_error_Ok)
      return false;
    size_ = {heif_image_handle_get_width(handle_), heif_image_handle_get_height(handle_)};
    if (size_.width <= 0 || size_.height <= 0) return false;
    // The size as coded, before the container's turn and crop: what
    // libheif decodes (the size declared when the box is missing).
    coded_ = {heif_image_handle_get_ispe_width(handle_),
              heif_image_handle_get_ispe_height(handle_)};
    if (coded_.width <= 0 || coded_.height <= 0) coded_ = size_;
    // A grid may not describe more than the container declares: libheif
    // would make all of it before looking.
    PixelSize grid;
    HeifGrid kind = Read_heif_grid(bytes, &grid);
    bool fits = (grid.width <= coded_.width && grid.height <= coded_.height) ||
                (grid.width <= coded_.height && grid.height <= coded_.width);
    if (kind == HeifGrid::kUnreadable || (kind == HeifGrid::kSized && !fits)) return false;
    // Every coded picture and tile is checked against this as it is decoded.
    int longer = std::max({coded_.width, coded_.height, size_.width, size_.height});
    heif_context_set_maximum_image_size_limit(context_, std::min(kMaxSide, longer + kCodedMargin));
    // Tiles one after another: pictures are decoded on several threads
    // already, and a picture's memory stays within one tile of its own.
    heif_context_set_max_decoding_threads(context_, 0);
    size_t length = heif_image_handle_get_raw_color_profile_size(handle_);
    if (length > 0 && length < (size_t(16) << 20)) {
      icc.resize(length);
      if (heif_image_handle_get_raw_color_profile(handle_, icc.data()).code != heif_error_Ok)
        icc.clear();
    }
    if (icc.empty()) icc = Nclx_profile(handle_);
    return true;
  }

  PixelSize size() const override { return size_; }
  // The decoded YCbCr planes, up to 4:4:4 at 16 bits, and the RGB result.
  int working_bytes_per_pixel() const override { return 9; }
  // A coded picture may be padded beyond the declared size.
  long long decoded_pixels_at_most() const override {
    PixelSize larger =
        (long long)coded_.width * coded_.height >= (long long)size_.width * size_.height ? coded_
                                                                                         : size_;
    return (long long)(larger.width + kCodedMargin) * (larger.height + kCodedMargin);
  }

  bool Decode(RgbImage* out) override {
    heif_image* image = nullptr;
    heif_decoding_options* options = heif_decoding_options_alloc();
    heif_error decoded = heif_decode_image(handle_, &image, heif_colorspace_RGB,
                                           heif_chroma_interleaved_RGB, options);
    heif_decoding_options_free(options);
    if (decoded.code != heif_error_Ok || !image) return false;
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    int width = heif_image_get_width(image, heif_channel_interleaved);
    int height = heif_image_get_height(image, heif_channel_interleaved);
    bool made = plane && width > 0 && height > 0 && width <= size_.width + kCodedMargin &&
                height <= size_.height + kCodedMargin && stride >= width * 3;
    if (made) {
      out->Reshape(width, height);
      for (int y = 0; y < height; ++y)
        std::memcpy(out->row(y), plane + size_t(y) * stride, out->stride());
    }
    heif_image_release(image);
    return made;
  }

 private:
  heif_context* context_;
  heif_image_handle* handle_ = nullptr;
  PixelSize size_;   // as shown
  PixelSize coded_;  // as decoded
};

}  // namespace

std::unique_ptr<PictureReader> Make_heif_reader() { return std::make_unique<HeifReader>(); }

}  // namespace zendrel
