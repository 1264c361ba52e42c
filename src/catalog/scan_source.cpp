#include "catalog/scan_source.h"

#include <vector>

#include "platform/dates.h"
#include "platform/file_system.h"
#include "platform/win_path.h"

namespace zendrel {

Status Scan_source(const std::string& source_dir, PictureSink& sink) {
  std::string source_path = Add_backslash(source_dir);
  std::vector<std::string> names;
  Status listed = List_directory(source_path, "*.jpg", ListFilter::kPlainFiles, &names);
  if (!listed.ok()) return listed;
  for (const std::string& name : names) {
    PictureRecord record;
    record.SourceFile = source_path + name;
    if (auto modified = Modified_time(record.SourceFile)) record.Date = Long_date_text(*modified);
    sink.Add_picture(record);
    if (sink.Stop_requested()) break;
    if (!Directory_exists(source_path))
      return Status::FileError(source_dir, "the directory is no longer there");
  }
  return Status();
}

}  // namespace zendrel
