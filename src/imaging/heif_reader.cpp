// HEIF (HEIC) through libheif: the primary picture, turned and mirrored as
// its container says (libheif applies the irot and imir boxes). The EXIF
// orientation a phone also writes describes the same turn, so it is never
// applied on top. The colr box's ICC profile comes along.
#include <libheif/heif.h>

#include <cstring>

#include "imaging/jpeg_codec.h"
#include "imaging/picture_reader.h"

namespace zendrel {
namespace {

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
    size_t length = heif_image_handle_get_raw_color_profile_size(handle_);
    if (length > 0 && length < (size_t(16) << 20)) {
      icc.resize(length);
      if (heif_image_handle_get_raw_color_profile(handle_, icc.data()).code != heif_error_Ok)
        icc.clear();
    }
    return size_.width > 0 && size_.height > 0;
  }

  PixelSize size() const override { return size_; }
  // The decoded YCbCr planes, up to 4:4:4 at 16 bits, and the RGB result.
  int working_bytes_per_pixel() const override { return 9; }

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
    bool made = plane && width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
                stride >= width * 3;
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
  PixelSize size_;
};

}  // namespace

std::unique_ptr<PictureReader> Make_heif_reader() { return std::make_unique<HeifReader>(); }

}  // namespace zendrel
