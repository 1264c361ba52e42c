#pragma once

#include <string>

#include "catalog/picture_record.h"
#include "platform/drive_table.h"
#include "platform/status.h"

namespace zendrel {

// Reads the GA_PicInfo table of a PhotoRecall database at `path` (Windows
// view) and delivers its pictures to `sink`. Reads to the end; does not look
// at the stop request. A file that is no readable database, a GA_PicInfo
// that is missing or lacks a column, and damage met on the way give a
// failure whose message is the cause (the caller names the file); the
// pictures read before it have been delivered. The database is read in a
// child process, so no file can crash or stop the program. `drives` finds
// the database and dates the pictures it leaves undated.
Status Read_mdb(const std::string& path, PictureSink& sink, const DriveTable& drives);

}  // namespace zendrel
