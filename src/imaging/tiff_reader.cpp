// TIFF through libtiff: the first page, in any photometric interpretation
// libtiff's RGBA interface knows, with its ICC profile and orientation tag.
#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <vector>

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
    raster_.resize(size_t(size_.width) * size_.height);
    bool read = TIFFRGBAImageGet(&image, raster_.data(), size_.width, size_.height);
    TIFFRGBAImageEnd(&image);
    if (!read) return false;
    out->Reshape(size_.width, size_.height);
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
  Memory memory_;
  TIFF* tiff_ = nullptr;
  PixelSize size_;
  std::vector<uint32_t> raster_;
};

}  // namespace

std::unique_ptr<PictureReader> Make_tiff_reader() { return std::make_unique<TiffReader>(); }

}  // namespace zendrel
