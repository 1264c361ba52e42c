#include "imaging/scale.h"

#include <unistd.h>

#include "imaging/archive_jpegs.h"
#include "imaging/picture_file.h"

namespace zendrel {
namespace {

std::string File_name(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

ScaleResult Make_archive_pictures(const std::string& original, const std::string& display,
                                  const std::string& thumbnail) {
  ArchiveJpegs copies = Make_archive_jpegs(original);
  if (!copies.readable) return {ScaleOutcome::kUnreadable, "", ""};
  std::string cause = Write_whole_file(display, copies.display.data(), copies.display.size());
  if (!cause.empty()) return {ScaleOutcome::kWriteFailed, File_name(display), cause};
  cause = Write_whole_file(thumbnail, copies.thumbnail.data(), copies.thumbnail.size());
  if (!cause.empty()) {
    ::unlink(display.c_str());  // no display copy without its thumbnail
    return {ScaleOutcome::kWriteFailed, File_name(thumbnail), cause};
  }
  return {};
}

}  // namespace zendrel
