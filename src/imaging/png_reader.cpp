// PNG through libpng: any bit depth, palette and grey made 8-bit RGB,
// transparency laid on white, the iCCP profile and the eXIf orientation.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "imaging/jpeg_codec.h"
#include "imaging/orientation.h"
#include "imaging/picture_reader.h"

namespace zendrel {
namespace {

void On_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void On_warning(png_structp, png_const_charp) {}

// The file up to the first chunk other than IDAT that claims more bytes
// than are left: libpng allocates what an eXIf or unknown chunk claims
// before reading it, so a few damaged bytes could ask for gigabytes. A cut
// IDAT is streamed, not allocated, and stays for what of it decodes.
std::string_view Up_to_damaged_chunk(std::string_view bytes) {
  size_t at = 8;  // the signature
  // A chunk whose header is there but whose body is cut counts as damaged
  // too: libpng reads the header alone before it allocates the body.
  while (at <= bytes.size() && bytes.size() - at >= 8) {
    auto byte = [&](size_t i) { return uint32_t(uint8_t(bytes[at + i])); };
    uint64_t length = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
    if (length + 4 > bytes.size() - at - 8)
      return bytes.substr(at + 4, 4) == "IDAT" ? bytes : bytes.substr(0, at);
    at += 12 + length;
  }
  return bytes;
}

class PngReader final : public PictureReader {
 public:
  ~PngReader() override { png_destroy_read_struct(&png_, &info_, nullptr); }

  bool Open(std::string_view bytes) override {
    bytes_ = Up_to_damaged_chunk(bytes);
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, On_error, On_warning);
    if (!png_) return false;
    info_ = png_create_info_struct(png_);
    if (!info_) return false;
    if (setjmp(png_jmpbuf(png_))) return false;
    png_set_user_limits(png_, kMaxSide, kMaxSide);
    // Text and other chunks of a crafted file could take memory without end.
    png_set_chunk_malloc_max(png_, 8 << 20);
    png_set_read_fn(png_, this, Read_bytes);
    png_read_info(png_, info_);
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 length = 0;
    if (png_get_iCCP(png_, info_, &name, &compression, &profile, &length) && profile)
      icc.assign(reinterpret_cast<const char*>(profile), length);
    return true;
  }

  PixelSize size() const override {
    return {int(png_get_image_width(png_, info_)), int(png_get_image_height(png_, info_))};
  }
  int working_bytes_per_pixel() const override { return 8; }  // 16-bit RGBA rows, one pass

  bool Decode(RgbImage* out) override {
    if (setjmp(png_jmpbuf(png_))) return false;
    png_set_expand(png_);
    png_set_strip_16(png_);
    png_set_gray_to_rgb(png_);
    bool alpha = png_get_valid(png_, info_, PNG_INFO_tRNS) ||
                 (png_get_color_type(png_, info_) & PNG_COLOR_MASK_ALPHA);
    if (!alpha) png_set_strip_alpha(png_);
    int passes = png_set_interlace_handling(png_);
    png_read_update_info(png_, info_);
    PixelSize stored = size();
    int channels = alpha ? 4 : 3;
    if (png_get_rowbytes(png_, info_) != size_t(stored.width) * channels) return false;
    out->Reshape(stored.width, stored.height);
    rows_.resize(size_t(stored.width) * stored.height * channels);
    for (int pass = 0; pass < passes; ++pass)
      for (int y = 0; y < stored.height; ++y)
        png_read_row(png_, rows_.data() + size_t(y) * stored.width * channels, nullptr);
    // What follows the image may be damaged or cut: the picture is whole.
    if (!setjmp(png_jmpbuf(png_))) png_read_end(png_, info_);
    Take_orientation();
    const uint8_t* from = rows_.data();
    uint8_t* to = out->data();
    for (size_t i = 0, n = size_t(stored.width) * stored.height; i < n; ++i, from += channels) {
      if (alpha) {
        *to++ = Over_white(from[0], from[3]);
        *to++ = Over_white(from[1], from[3]);
        *to++ = Over_white(from[2], from[3]);
      } else {
        *to++ = from[0], *to++ = from[1], *to++ = from[2];
      }
    }
    return true;
  }

 private:
  static void Read_bytes(png_structp png, png_bytep data, size_t length) {
    auto* self = static_cast<PngReader*>(png_get_io_ptr(png));
    if (length > self->bytes_.size() - self->at_) png_error(png, "cut short");
    std::memcpy(data, self->bytes_.data() + self->at_, length);
    self->at_ += length;
  }

  // The eXIf chunk holds a TIFF block without the "Exif\0\0" of JPEG's APP1.
  void Take_orientation() {
    png_uint_32 length = 0;
    png_bytep exif = nullptr;
    if (png_get_eXIf_1(png_, info_, &length, &exif) && exif && length > 0) {
      std::string payload("Exif\0\0", 6);
      payload.append(reinterpret_cast<const char*>(exif), length);
      orientation = Exif_orientation(payload);
    }
  }

  std::string_view bytes_;
  size_t at_ = 0;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  std::vector<uint8_t> rows_;
};

}  // namespace

std::unique_ptr<PictureReader> Make_png_reader() { return std::make_unique<PngReader>(); }

}  // namespace zendrel
