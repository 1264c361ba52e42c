#pragma once

#include <string>

#include "platform/drive_table.h"
#include "platform/status.h"

namespace zendrel {

// Copies texture.jpg from the program's directory into `dest_dir` unless the
// destination has one already (a user's own background is never replaced).
// A missing program copy is not reported: the archive just has no background
// picture. A copy that fails (a full disk) is: it is part of the run's files.
Status Copy_texture(const DriveTable& drives, const std::string& dest_dir);

}  // namespace zendrel
