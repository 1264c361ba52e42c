#include "catalog/file_kinds.h"

#include <string_view>

#include "platform/win_path.h"

namespace zendrel {
namespace {

bool One_of(std::string_view extension, std::initializer_list<std::string_view> list) {
  for (std::string_view item : list)
    if (extension == item) return true;
  return false;
}

}  // namespace

std::optional<LeftOut> Left_out_by_name(const std::string& name) {
  // The catalogue would hold another name (a tab or line break splits its
  // line), a path another directory ("\"), a browser another file (it
  // drops the blank at the end of a link).
  if (!name.empty() && name.back() == ' ') return LeftOut::kTrailingSpace;
  for (char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '\\')
      return LeftOut::kUnfitCharacter;
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return std::nullopt;
  std::string extension = Fold_case(name.substr(dot + 1));
  if (One_of(extension, {"mov", "mp4", "m4v", "avi", "mts", "m2ts", "3gp", "mkv", "wmv", "mpg",
                         "mpeg", "webm", "insv", "lrv"}))
    return LeftOut::kVideo;
  if (One_of(extension,
             {"cr2", "cr3", "crw", "nef", "nrw", "arw", "srf", "sr2", "dng", "raf", "orf",
              "rw2", "pef", "srw", "x3f", "3fr", "iiq", "rwl", "erf", "kdc", "mrw", "raw"}))
    return LeftOut::kRawPhoto;
  if (One_of(extension, {"aae", "xmp", "thm", "pp3", "dop"})) return LeftOut::kSidecar;
  if (One_of(extension, {"wav", "m4a", "mp3", "aac", "amr"})) return LeftOut::kSound;
  return std::nullopt;
}

bool Is_archive_file_name(const std::string& name) {
  for (std::string_view own : {"archive.htm", "archive.txt", "archive2.txt", "archive_bak.htm"})
    if (Fold_case(name) == own) return true;
  return false;
}

}  // namespace zendrel
