#include "platform/archive_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/kept_files.h"
#include "platform/native_path.h"

namespace zendrel {
namespace {

// Where earlier versions took the lock: an empty file of this name.
constexpr char kOldLockName[] = ".zendrel.lock";

// The cause, and what the user can do about it.
std::string Why_not_lockable(const std::string& directory, int error) {
  std::string advice;
  switch (error) {
    case ENOENT:
      advice = "the folder does not exist; choose an existing folder";
      break;
    case ENOTDIR:
      advice = "a file, not a folder, has this name; choose a folder";
      break;
    case EACCES:
    case EPERM:
      advice = "the folder's archive lock cannot be taken; choose a folder you may write to";
      break;
    default:
      advice = "the folder's archive lock cannot be taken";
  }
  return directory + ": " + Errno_text(error) + " (" + advice + ")";
}

void Remove_old_lock_file(const std::string& folder) {
  std::string path = folder + "/" + kOldLockName;
  struct stat info;
  // Only the empty plain file earlier versions made: a link or a folder of
  // that name is somebody's, and no longer in the way.
  if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0)
    ::unlink(path.c_str());
}

}  // namespace

std::string Locked_archive_message(const std::string& directory) {
  return directory +
         " is being written by another Zendrel run (it holds the folder's archive lock); try "
         "again when it has finished";
}

Status ArchiveLock::Acquire(const DriveTable& drives, const std::string& directory) {
  Release();
  auto native = Native_target_path(drives, directory);
  if (!native) return Status::FileError(directory, "no drive is set for this path");
  std::string folder = *native;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd.valid()) return Status::Error(Why_not_lockable(directory, errno));
  int locked;
  do {
    locked = ::flock(fd.get(), LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    if (errno == EWOULDBLOCK) return Status::Error(Locked_archive_message(directory));
    return Status::Error(Why_not_lockable(directory, errno));
  }
  fd_ = std::move(fd);
  std::string prefix = folder == "/" ? "" : folder;
  Remove_old_lock_file(prefix);
  Recover_interrupted_commits(prefix + "/");
  Remove_temporaries(prefix + "/");
  return Status();
}

}  // namespace zendrel
