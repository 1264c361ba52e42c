// One writer per archive: a build, an edit or a master build holds its
// destination's lock for as long as it may write there, and a second one on
// the same directory is refused at once rather than mixing its files with
// the first's. The lock is an flock on a hidden file in the directory, so
// the system lets it go when the holder ends, however it ends.
#pragma once

#include <string>

#include "platform/posix_file.h"
#include "platform/status.h"

namespace zendrel {

class ArchiveLock {
 public:
  // Takes the lock of `directory` (Windows view). Once held, the private
  // temporaries that a killed run left there are removed.
  Status Acquire(const std::string& directory);
  bool held() const { return fd_.valid(); }
  void Release() { fd_.Reset(); }

 private:
  FileDescriptor fd_;
};

// The text of the refusal, naming the directory.
std::string Locked_archive_message(const std::string& directory);

}  // namespace zendrel
