#include "imaging/scale.h"

#include <unistd.h>

#include "imaging/archive_picture.h"
#include "imaging/picture_file.h"

namespace zendrel {
namespace {

std::string File_name(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

ScaleResult Write_failed(const std::string& path, const std::string& cause) {
  return {ScaleOutcome::kWriteFailed, File_name(path), cause};
}

}  // namespace

ScaleResult Make_archive_pictures(const std::string& original, const std::string& display,
                                  const std::string& thumbnail) {
  const ScaleResult unreadable{ScaleOutcome::kUnreadable, "", ""};
  std::string bytes;
  if (!Read_picture_file(original, kMaxPictureBytes, &bytes)) return unreadable;
  JpegDecoder decoder;
  RgbImage shown = Upright_picture(decoder, bytes, kDisplayBox, false);
  if (shown.empty()) return unreadable;

  // The thumbnail comes from the display copy's pixels, as if it had been
  // made from the display file, without decoding that file again.
  JpegEncoder encoder;
  std::optional<std::string> display_jpeg = encoder.Encode(shown, kArchiveQuality);
  std::optional<std::string> thumbnail_jpeg = encoder.Encode(Thumbnail_of(shown), kArchiveQuality);
  if (!display_jpeg || !thumbnail_jpeg) return unreadable;

  std::string cause = Write_whole_file(display, display_jpeg->data(), display_jpeg->size());
  if (!cause.empty()) return Write_failed(display, cause);
  cause = Write_whole_file(thumbnail, thumbnail_jpeg->data(), thumbnail_jpeg->size());
  if (!cause.empty()) {
    ::unlink(display.c_str());  // no display copy without its thumbnail
    return Write_failed(thumbnail, cause);
  }
  return {};
}

}  // namespace zendrel
