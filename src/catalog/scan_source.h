#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/picture_record.h"
#include "platform/drive_table.h"
#include "platform/status.h"

namespace zendrel {

// Descriptions taken from the pictures' own metadata (EXIF, IPTC, XMP and
// XMP sidecars), and what that met.
struct MetadataOption {
  bool take = false;
  // Pictures archived with only part of their metadata, or none, because
  // it was damaged (or its reading crashed or hung).
  int32_t degraded = 0;
  std::vector<std::string> degraded_files;  // their SourceFile, in delivery order
};

// Delivers the plain files of `source_dir` (Windows view) that may be
// pictures in listing order, each with its modification date as
// "mmmm d, yyyy"; files of a kind that is no picture (videos, RAW files,
// sidecars) and dangling links are told to the sink's File_left_out. With `metadata`
// taken, title, subject, category, comment, author and date come from the
// picture where it holds them (the modification date otherwise). A
// directory that cannot be listed, or that disappears during the scan,
// gives a failure.
Status Scan_source(const std::string& source_dir, PictureSink& sink, const DriveTable& drives,
                   MetadataOption* metadata = nullptr);

}  // namespace zendrel
