#include "imaging/sjpeg.h"

#include "imaging/archive_picture.h"
#include "imaging/picture_file.h"

namespace zendrel {

int16_t sjpeg(const std::string& input_path, const std::string& output_path, int size) {
  std::string bytes;
  if (!Read_picture_file(input_path, kMaxPictureBytes, &bytes)) return 1;
  JpegDecoder decoder;
  RgbImage picture;
  if (size == kThumbnailSide) {
    picture = Thumbnail_of(
        Upright_picture(decoder, bytes, {kThumbnailSide, kThumbnailSide}, true));
  } else {
    picture = Upright_picture(decoder, bytes, kDisplayBox, false);
  }
  if (picture.empty()) return 1;
  std::optional<std::string> jpeg = JpegEncoder().Encode(picture, kArchiveQuality);
  if (!jpeg) return 1;
  return Write_whole_file(output_path, jpeg->data(), jpeg->size()).empty() ? 0 : 1;
}

}  // namespace zendrel
