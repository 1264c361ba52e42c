#include "catalog/scan_source.h"

#include <memory>
#include <vector>

#include "catalog/metadata_child.h"
#include "catalog/metadata_text.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

void Describe(PictureRecord& record, const PictureMetadata& metadata) {
  record.Title = System_text_from_metadata(metadata.title);
  record.Subject = System_text_from_metadata(metadata.subject);
  record.Category = System_text_from_metadata(metadata.category);
  record.Comment = System_text_from_metadata(metadata.comment);
  record.Author = System_text_from_metadata(metadata.author);
  if (!metadata.date.empty()) record.Date = metadata.date;
}

}  // namespace

Status Scan_source(const std::string& source_dir, PictureSink& sink, MetadataOption* metadata) {
  std::string source_path = Add_backslash(source_dir);
  std::vector<std::string> names;
  Status listed = List_directory(source_path, "*.jpg", ListFilter::kPlainFiles, &names);
  if (!listed.ok()) return listed;
  sink.Expect_pictures(int32_t(names.size()));
  std::unique_ptr<MetadataChild> reader;
  if (metadata && metadata->take) {
    std::vector<std::string> native_paths;
    for (const std::string& name : names)
      native_paths.push_back(Native_path(source_path + name).value_or(""));
    reader = std::make_unique<MetadataChild>(std::move(native_paths));
  }
  for (const std::string& name : names) {
    PictureRecord record;
    record.SourceFile = source_path + name;
    if (auto modified = Modified_time(record.SourceFile)) record.Date = Long_date_text(*modified);
    if (reader) {
      PictureMetadata found = reader->Next();
      Describe(record, found);
      if (found.damaged) ++metadata->degraded;
    }
    sink.Add_picture(record);
    if (sink.Stop_requested()) break;
    if (!Directory_exists(source_path))
      return Status::FileError(source_dir, "the directory is no longer there");
  }
  return Status();
}

}  // namespace zendrel
