// Opening a finished archive page in the desktop's web browser from the
// command line, through xdg-open, without waiting for the browser.
#pragma once

#include <string>

#include "platform/drive_table.h"
#include "platform/status.h"

namespace zendrel::cli {

// `page` is the Windows view of the page through `drives`; fails, naming it, when the page
// is missing or xdg-open cannot be started.
Status Open_in_browser(const DriveTable& drives, const std::string& page);

}  // namespace zendrel::cli
