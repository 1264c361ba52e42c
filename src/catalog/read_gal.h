#pragma once

#include <string>

#include "catalog/picture_record.h"
#include "platform/drive_table.h"
#include "platform/status.h"

namespace zendrel {

// Reads the catalogue's bytes and delivers its pictures to `sink`, checking
// the stop request after each. A damaged file ends the reading with a status
// that says what was wrong; the pictures read so far have been delivered.
// Pictures are dated through `drives`.
Status Read_gal(const std::string& bytes, PictureSink& sink, const DriveTable& drives);

}  // namespace zendrel
