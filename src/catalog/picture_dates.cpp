#include "catalog/picture_dates.h"

#include "platform/dates.h"
#include "platform/file_system.h"
#include "platform/win_path.h"

namespace zendrel {

std::string PictureDates::Date_of(const std::string& path) {
  std::string folder = Directory_part(path);
  if (!folder.empty()) {
    auto known = folder_exists_.find(folder);
    if (known == folder_exists_.end())
      known = folder_exists_.emplace(folder, Directory_exists(drives_, folder)).first;
    if (!known->second) return "";
  }
  auto modified = Modified_time(drives_, path);
  return modified ? Long_date_text(*modified) : "";
}

}  // namespace zendrel
