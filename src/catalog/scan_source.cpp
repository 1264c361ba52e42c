#include "catalog/scan_source.h"

#include <memory>
#include <set>
#include <vector>

#include "catalog/file_kinds.h"
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

// The files that may be pictures: every one but the archive's own and those
// of a kind that is no picture (told to the sink). Whether a file is a
// picture is for its content to say. Two names that the system's text
// holds alike would reach one file: the second is told, not delivered.
std::vector<std::string> Picture_candidates(const std::string& source_path,
                                            const std::vector<std::string>& listed,
                                            PictureSink& sink) {
  std::vector<std::string> names;
  std::set<std::string> taken;
  for (const std::string& name : listed) {
    if (Is_archive_file_name(name)) continue;
    if (auto kind = Left_out_by_name(name)) {
      sink.File_left_out(source_path + name, *kind);
    } else if (!taken.insert(name).second) {
      sink.File_left_out(source_path + name, LeftOut::kNameUnrepresentable);
    } else {
      names.push_back(name);
    }
  }
  return names;
}

}  // namespace

Status Scan_source(const std::string& source_dir, PictureSink& sink, const DriveTable& drives,
                   MetadataOption* metadata) {
  std::string source_path = Add_backslash(source_dir);
  std::vector<std::string> listed_names, dangling;
  Status listed =
      List_directory(drives, source_path, "*", ListFilter::kPlainFiles, &listed_names, &dangling);
  if (!listed.ok()) return listed;
  for (const std::string& name : dangling)
    sink.File_left_out(source_path + name, LeftOut::kDanglingLink);
  std::vector<std::string> names = Picture_candidates(source_path, listed_names, sink);
  sink.Expect_pictures(int32_t(names.size()));
  std::unique_ptr<MetadataChild> reader;
  if (metadata && metadata->take) {
    std::vector<std::string> native_paths;
    for (const std::string& name : names)
      native_paths.push_back(Native_path(drives, source_path + name).value_or(""));
    MetadataChild::Options options;
    options.stop = [&sink] { return sink.Stop_requested(); };
    reader = std::make_unique<MetadataChild>(std::move(native_paths), std::move(options));
  }
  for (const std::string& name : names) {
    PictureRecord record;
    record.SourceFile = source_path + name;
    if (auto modified = Modified_time(drives, record.SourceFile))
      record.Date = Long_date_text(*modified);
    if (reader) {
      PictureMetadata found = reader->Next();
      Describe(record, found);
      if (found.damaged) {
        ++metadata->degraded;
        metadata->degraded_files.push_back(record.SourceFile);
      }
    }
    sink.Add_picture(record);
    if (sink.Stop_requested()) break;
    if (!Directory_exists(drives, source_path))
      return Status::FileError(source_dir, "the directory is no longer there");
  }
  return Status();
}

}  // namespace zendrel
