// Reading an existing archive.htm back into records.
#pragma once

#include <string>

#include "page/record_table.h"
#include "platform/drive_table.h"
#include "platform/status.h"

namespace zendrel {

// Fills `table` (cleared first) from the page "archive.htm" in `directory`
// (Windows view through `drives`, ending in "\"). A page that cannot be read, or that exceeds
// a limit, gives a failure naming the page and the cause.
Status Read_archive_page(const DriveTable& drives, const std::string& directory,
                         RecordTable& table);

// The reading itself, over the page's bytes: fills `table` (not cleared)
// with the records found; `page` names the page in failure messages.
Status Read_page_records(const std::string& bytes, const std::string& page, RecordTable& table);

}  // namespace zendrel
