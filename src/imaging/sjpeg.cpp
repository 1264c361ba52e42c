#include "imaging/sjpeg.h"

#include "imaging/archive_picture.h"
#include "imaging/picture_file.h"

namespace zendrel {
namespace {

bool Scale(PictureWorkspace& work, const std::string& input_path, const std::string& output_path,
           int size) {
  if (!Read_picture_file(input_path, kMaxPictureBytes, &work.file)) return false;
  const RgbImage* picture = nullptr;
  if (size == kThumbnailSide) {
    const RgbImage* fitted =
        Upright_picture(work, work.file, {kThumbnailSide, kThumbnailSide}, true);
    if (!fitted) return false;
    Thumbnail_into(*fitted, work.scratch, &work.thumbnail);
    picture = &work.thumbnail;
  } else {
    picture = Upright_picture(work, work.file, kDisplayBox, false);
    if (!picture) return false;
  }
  std::string_view jpeg = work.encoder.Encode(*picture, kArchiveQuality);
  return !jpeg.empty() && Write_whole_file(output_path, jpeg.data(), jpeg.size()).empty();
}

}  // namespace

int16_t sjpeg(const std::string& input_path, const std::string& output_path, int size) {
  PictureWorkspace& work = Thread_workspace();
  bool made = Scale(work, input_path, output_path, size);
  work.Trim();
  return made ? 0 : 1;
}

}  // namespace zendrel
