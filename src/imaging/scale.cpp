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

ScaleResult Make_pictures(PictureWorkspace& work, const std::string& original,
                          const std::string& display, const std::string& thumbnail) {
  const ScaleResult unreadable{ScaleOutcome::kUnreadable, "", ""};
  if (!Read_picture_file(original, kMaxPictureBytes, &work.file)) return unreadable;
  const RgbImage* shown = Upright_picture(work, work.file, kDisplayBox, false);
  if (!shown) return unreadable;

  std::string_view jpeg = work.encoder.Encode(*shown, kArchiveQuality);
  if (jpeg.empty()) return unreadable;
  std::string cause = Write_whole_file(display, jpeg.data(), jpeg.size());
  if (!cause.empty()) return {ScaleOutcome::kWriteFailed, File_name(display), cause};

  // The thumbnail comes from the display copy's pixels, as if it had been
  // made from the display file, without decoding that file again.
  Thumbnail_into(*shown, work.scratch, &work.thumbnail);
  jpeg = work.encoder.Encode(work.thumbnail, kArchiveQuality);
  cause = jpeg.empty() ? "the thumbnail could not be encoded"
                       : Write_whole_file(thumbnail, jpeg.data(), jpeg.size());
  if (!cause.empty()) {
    ::unlink(display.c_str());  // no display copy without its thumbnail
    return {ScaleOutcome::kWriteFailed, File_name(thumbnail), cause};
  }
  return {};
}

}  // namespace

ScaleResult Make_archive_pictures(const std::string& original, const std::string& display,
                                  const std::string& thumbnail) {
  PictureWorkspace& work = Thread_workspace();
  ScaleResult result = Make_pictures(work, original, display, thumbnail);
  work.Trim();
  return result;
}

}  // namespace zendrel
