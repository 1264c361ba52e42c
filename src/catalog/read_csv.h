#pragma once

#include <string>

#include "catalog/label_drive_table.h"
#include "catalog/picture_record.h"
#include "platform/drive_table.h"
#include "platform/status.h"

namespace zendrel {

// Reads a ThumbsPlus V4 export and delivers its pictures to `sink`; volume
// labels are resolved to the drives of `drives` through `labels`.
Status Read_csv(const std::string& bytes, PictureSink& sink, LabelDriveTable& labels,
                const DriveTable& drives);

}  // namespace zendrel
