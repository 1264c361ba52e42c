#pragma once

#include <string>

#include "catalog/picture_record.h"
#include "platform/status.h"

namespace zendrel {

// Delivers the *.jpg plain files of `source_dir` (Windows view) in listing
// order, each with its modification date as "mmmm d, yyyy". A directory that
// cannot be listed, or that disappears during the scan, gives a failure.
Status Scan_source(const std::string& source_dir, PictureSink& sink);

}  // namespace zendrel
