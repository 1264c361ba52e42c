// TIFF through libtiff: the first page, in any photometric interpretation
// libtiff's RGBA interface knows, with its ICC profile and orientation tag.
// CMYK with a profile is converted through the profile, not by libtiff's
// plain inks.
#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/color_profile.h"
#include "imaging/picture_reader.h"

namespace zendrel {
namespace {

// libtiff's own handlers print to standard error; a run tells the user its
// own way.
int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct Memory {
  std::string_view bytes;
  toff_t at = 0;
};

tmsize_t Read(thandle_t handle, void* data, tmsize_t size) {
  auto* memory = static_cast<Memory*>(handle);
  if (size < 0 || memory->at >= memory->bytes.size()) return 0;
  size_t count = std::min<size_t>(size_t(size), memory->bytes.size() - memory->at);
  std::memcpy(data, memory->bytes.data() + memory->at, count);
  memory->at += count;
  return tmsize_t(count);
}
tmsize_t Write(thandle_t, void*, tmsize_t) { return 0; }
toff_t Seek(thandle_t handle, toff_t offset, int whence) {
  auto* memory = static_cast<Memory*>(handle);
  toff_t base = whence == SEEK_CUR ? memory->at : whence == SEEK_END ? memory->bytes.size() : 0;
  memory->at = base + offset;
  return memory->at;
}
int Close(thandle_t) { return 0; }
toff_t Size(thandle_t handle) { return static_cast<Memory*>(handle)->bytes.size(); }
int Map(thandle_t, void**, toff_t*) { return 0; }
void Unmap(thandle_t, void*, toff_t) {}

// In place of libtiff's conversion of 8-bit CMYK: the four inks of each
// pixel as stored, in its raster word, for the profile to convert.
void Put_cmyk(TIFFRGBAImage* image, uint32_t* to, uint32_t, uint32_t, uint32_t width,
              uint32_t height, int32_t from_skew, int32_t to_skew, unsigned char* from) {
  int samples = image->samplesperpixel;
  for (; height > 0; --height) {
    for (uint32_t x = 0; x < width; ++x, from += samples) std::memcpy(to++, from, 4);
    to += to_skew;
    from += from_skew * samples;
  }
}

class TiffReader final : public PictureReader {
 public:
  ~TiffReader() override {
    if (tiff_) TIFFClose(tiff_);
  }

  bool Open(std::string_view bytes) override {
    memory_.bytes = bytes;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
    // A crafted directory can claim huge strips and tables.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(256) << 20);
    tiff_ = TIFFClientOpenExt("picture", "rm", &memory_, Read, Write, Seek, Close, Size, Map, Unmap,
                              options);
    TIFFOpenOptionsFree(options);
    if (!tiff_) return false;
    uint32_t width = 0, height = 0;
    if (!TIFFGetField(tiff_, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tiff_, TIFFTAG_IMAGELENGTH, &height) || width == 0 || height == 0 ||
        width > 0x7FFFFFFF || height > 0x7FFFFFFF)
      return false;
    size_ = {int(width), int(height)};
    uint32_t length = 0;
    void* profile = nullptr;
    if (TIFFGetField(tiff_, TIFFTAG_ICCPROFILE, &length, &profile) && profile)
      icc.assign(static_cast<const char*>(profile), length);
    uint16_t tag = 1;
    if (TIFFGetField(tiff_, TIFFTAG_ORIENTATION, &tag) && tag >= 1 && tag <= 8) orientation = tag;
    return true;
  }

  PixelSize size() const override { return size_; }
  int working_bytes_per_pixel() const override { return 4; }  // the RGBA raster

  bool Decode(RgbImage* out) override {
    char message[1024] = "";
    TIFFRGBAImage image;
    if (!TIFFRGBAImageOK(tiff_, message) || !TIFFRGBAImageBegin(&image, tiff_, 0, message))
      return false;
    // Rows as stored, top first: the orientation tag is applied afterwards,
    // like EXIF's, for all eight values (libtiff only flips).
    image.req_orientation = image.orientation;
    bool cmyk = image.photometric == PHOTOMETRIC_SEPARATED && image.bitspersample == 8 &&
                image.samplesperpixel >= 4 && image.isContig && !icc.empty();
    if (cmyk) image.put.contig = Put_cmyk;
    raster_.resize(size_t(size_.width) * size_.height);
    bool read = TIFFRGBAImageGet(&image, raster_.data(), size_.width, size_.height);
    TIFFRGBAImageEnd(&image);
    if (!read) return false;
    out->Reshape(size_.width, size_.height);
    if (cmyk) {
      Cmyk_to_rgb(*out);
      return true;
    }
    uint8_t* to = out->data();
    for (uint32_t pixel : raster_) {
      // libtiff hands alpha premultiplied.
      unsigned white = 255 - TIFFGetA(pixel);
      *to++ = uint8_t(std::min(255u, TIFFGetR(pixel) + white));
      *to++ = uint8_t(std::min(255u, TIFFGetG(pixel) + white));
      *to++ = uint8_t(std::min(255u, TIFFGetB(pixel) + white));
    }
    return true;
  }

 private:
  // The raster's inks through the profile, or as libtiff mixes them when
  // the profile is not a CMYK one.
  void Cmyk_to_rgb(RgbImage& out) const {
    const auto* inks = reinterpret_cast<const uint8_t*>(raster_.data());
    if (Cmyk_to_srgb(inks, false, raster_.size(), out.data(), icc)) return;
    uint8_t* to = out.data();
    for (size_t i = 0; i < raster_.size(); ++i, inks += 4) {
      unsigned white = 255 - inks[3];
      for (int c = 0; c < 3; ++c) *to++ = uint8_t(white * (255 - inks[c]) / 255);
    }
  }

  Memory memory_;
  TIFF* tiff_ = nullptr;
  PixelSize size_;
  std::vector<uint32_t> raster_;
};

}  // namespace

std::unique_ptr<PictureReader> Make_tiff_reader() { return std::make_unique<TiffReader>(); }

}  // namespace zendrel
