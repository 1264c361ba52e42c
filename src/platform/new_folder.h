// Making a new folder that the user names, under a directory in its Windows
// view. Names the file system cannot hold, and names that would stand for
// something else in a path, are refused before anything is made.
#pragma once

#include <string>

#include "platform/drive_table.h"
#include "platform/status.h"

namespace zendrel {

// Why `name` (system text) cannot be a folder's name; empty when it can.
std::string Folder_name_problem(const std::string& name);

// Makes `name` under `parent` ("C:\Photos"). Fails, naming the new path and
// the cause, for a bad name, a missing parent or an existing entry.
Status Make_folder(const DriveTable& drives, const std::string& parent, const std::string& name);

}  // namespace zendrel
