// One opening of the record editor: the records it works on, the directory
// whose page they came from, and whether this opening has already saved the
// page to its backup. Made when the editor opens, dropped when it closes, so
// each opening makes its own backup. It holds the archive's lock from its
// making to its dropping, so that two editors, or an editor and a build,
// never write over each other's changes. One thread: the user interface's.
#pragma once

#include <string>
#include <utility>

#include "page/record_table.h"
#include "platform/archive_lock.h"
#include "platform/drive_table.h"

namespace zendrel {

struct EditorSession {
  // Takes the lock now; when another run holds it, the first change tries
  // again and is refused if it still cannot have it.
  // `drives` is the table the records' directory was read through.
  EditorSession(const DriveTable& drives, RecordTable& records)
      : drives(drives), table(records), directory(records.directory()) {
    lock.Acquire(drives, directory);
  }
  // With the lock already taken, before the records were read.
  EditorSession(const DriveTable& drives, RecordTable& records, ArchiveLock&& held)
      : drives(drives), table(records), directory(records.directory()), lock(std::move(held)) {}

  DriveTable drives;  // a copy: the opening goes by the table it was opened with
  RecordTable& table;
  std::string directory;     // Windows view, ending in "\"
  bool backup_made = false;  // BackupMade: archive_bak.htm taken in this opening
  ArchiveLock lock;
};

}  // namespace zendrel
