#include "imaging/libjpeg_decode.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <vector>

// After <cstdio>: jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "imaging/color_profile.h"

namespace zendrel {
namespace {

// A crafted progressive file could ask for scans without end; TurboJPEG
// stops at the same number.
constexpr int kMaxScans = 500;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf escape;
};

[[noreturn]] void On_error(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void On_message(j_common_ptr, int) {}  // warnings about damaged data are accepted

void On_progress(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->is_decompressor && decompress->input_scan_number > kMaxScans) On_error(info);
}

bool Within_limits(JDIMENSION width, JDIMENSION height) {
  return width >= 1 && height >= 1 && width <= JDIMENSION(kMaxSide) &&
         height <= JDIMENSION(kMaxSide) && (long long)width * height <= kMaxPixels;
}

// One decompression, set up and torn down around the caller's work. The
// work runs under setjmp, so it keeps no objects with destructors of its own.
class Decompression {
 public:
  Decompression() {
    info_.err = jpeg_std_error(&errors_.base);
    errors_.base.error_exit = On_error;
    errors_.base.emit_message = On_message;
    progress_.progress_monitor = On_progress;
  }
  ~Decompression() {
    if (created_) jpeg_destroy_decompress(&info_);
  }

  // Reads the header of `jpeg`; false on an error.
  bool Start(std::string_view jpeg) {
    if (jpeg.empty()) return false;
    if (setjmp(errors_.escape)) return false;
    jpeg_create_decompress(&info_);
    created_ = true;
    info_.progress = &progress_;
    jpeg_mem_src(&info_, reinterpret_cast<const unsigned char*>(jpeg.data()),
                 static_cast<unsigned long>(jpeg.size()));
    return jpeg_read_header(&info_, TRUE) == JPEG_HEADER_OK &&
           Within_limits(info_.image_width, info_.image_height);
  }

  bool Decode(ScalingFactor factor, RgbImage* out, std::string_view icc) {
    icc_ = icc;
    cmyk_ = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
    info_.out_color_space = cmyk_ ? JCS_CMYK : JCS_RGB;
    info_.scale_num = unsigned(factor.num);
    info_.scale_denom = unsigned(factor.denom);
    if (setjmp(errors_.escape)) return false;
    jpeg_start_decompress(&info_);
    out->Reshape(int(info_.output_width), int(info_.output_height));
    row_.resize(size_t(info_.output_width) * info_.output_components);
    while (info_.output_scanline < info_.output_height) {
      JDIMENSION y = info_.output_scanline;
      JSAMPROW target = cmyk_ ? row_.data() : out->data() + size_t(y) * out->width() * 3;
      jpeg_read_scanlines(&info_, &target, 1);
      if (cmyk_) Cmyk_row_to_rgb(row_.data(), out->data() + size_t(y) * out->width() * 3);
    }
    jpeg_finish_decompress(&info_);
    return true;
  }

  PixelSize size() const { return {int(info_.image_width), int(info_.image_height)}; }

 private:
  // Adobe applications store CMYK inverted.
  void Cmyk_row_to_rgb(const uint8_t* cmyk, uint8_t* rgb) const {
    if (Cmyk_to_srgb(cmyk, true, info_.output_width, rgb, icc_)) return;
    for (JDIMENSION x = 0; x < info_.output_width; ++x, cmyk += 4, rgb += 3) {
      unsigned k = cmyk[3];
      rgb[0] = uint8_t((cmyk[0] * k + 127) / 255);
      rgb[1] = uint8_t((cmyk[1] * k + 127) / 255);
      rgb[2] = uint8_t((cmyk[2] * k + 127) / 255);
    }
  }

  jpeg_decompress_struct info_{};
  ErrorManager errors_{};
  jpeg_progress_mgr progress_{};
  bool created_ = false;
  bool cmyk_ = false;
  std::string_view icc_;
  std::vector<uint8_t> row_;
};

}  // namespace

std::optional<PixelSize> Libjpeg_read_size(std::string_view jpeg) {
  Decompression decompression;
  if (!decompression.Start(jpeg)) return std::nullopt;
  return decompression.size();
}

bool Libjpeg_decode(std::string_view jpeg, ScalingFactor factor, RgbImage* out,
                    std::string_view icc) {
  Decompression decompression;
  if (!decompression.Start(jpeg) || !decompression.Decode(factor, out, icc)) {
    out->Clear();
    return false;
  }
  return true;
}

}  // namespace zendrel
