// One writer per archive: a build, an edit or a master build holds its
// destination's lock for as long as it may write there, and a second one on
// the same directory is refused at once rather than mixing its files with
// the first's. The lock is an flock on the destination directory itself:
// no lock file is left behind, no name of it can be taken by a link, and
// the system lets it go when the holder ends, however it ends (every
// descriptor is close-on-exec, so no child process keeps it).
#pragma once

#include <string>

#include "platform/drive_table.h"
#include "platform/posix_file.h"
#include "platform/status.h"

namespace zendrel {

class ArchiveLock {
 public:
  // Takes the lock of `directory` (Windows view through `drives`). Once held, a commit that
  // a killed run left half done is put right and the private temporaries
  // it left are removed.
  Status Acquire(const DriveTable& drives, const std::string& directory);
  bool held() const { return fd_.valid(); }
  void Release() { fd_.Reset(); }

 private:
  FileDescriptor fd_;
};

// The text of the refusal, naming the directory and its lock.
std::string Locked_archive_message(const std::string& directory);

}  // namespace zendrel
