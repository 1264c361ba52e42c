#pragma once

#include <string>

#include "catalog/picture_record.h"
#include "platform/status.h"

namespace zendrel {

// Reads the GA_PicInfo table of a PhotoRecall database at `path` (Windows
// view) and delivers its pictures to `sink`. Reads to the end; does not look
// at the stop request.
Status Read_mdb(const std::string& path, PictureSink& sink);

}  // namespace zendrel
