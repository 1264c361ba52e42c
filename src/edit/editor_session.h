// One opening of the record editor: the records it works on, the directory
// whose page they came from, and whether this opening has already saved the
// page to its backup. Made when the editor opens, dropped when it closes, so
// each opening makes its own backup. One thread: the user interface's.
#pragma once

#include <string>

#include "page/record_table.h"

namespace zendrel {

struct EditorSession {
  explicit EditorSession(RecordTable& records) : table(records), directory(records.directory()) {}

  RecordTable& table;
  std::string directory;     // Windows view, ending in "\"
  bool backup_made = false;  // BackupMade: archive_bak.htm taken in this opening
};

}  // namespace zendrel
