#include "platform/archive_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <utility>

#include "platform/native_path.h"

namespace zendrel {
namespace {
constexpr char kLockName[] = ".zendrel.lock";
}

std::string Locked_archive_message(const std::string& directory) {
  return directory + " is being written by another Zendrel run; try again when it has finished";
}

Status ArchiveLock::Acquire(const std::string& directory) {
  Release();
  auto native = Native_target_path(directory);
  if (!native) return Status::FileError(directory, "no drive is set for this path");
  std::string folder = *native;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  std::string path = (folder == "/" ? "" : folder) + "/" + kLockName;
  // Not through a link: a planted one would have the lock file made elsewhere.
  FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644));
  if (!fd.valid()) return Status::FileError(directory, Errno_text(errno));
  int locked;
  do {
    locked = ::flock(fd.get(), LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    if (errno == EWOULDBLOCK) return Status::Error(Locked_archive_message(directory));
    return Status::FileError(directory, Errno_text(errno));
  }
  fd_ = std::move(fd);
  Remove_temporaries(folder);
  return Status();
}

}  // namespace zendrel
