#include "platform/catalogue_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/native_path.h"

namespace zendrel {

CatalogueFile::Result CatalogueFile::Open(const std::string& path) {
  Close();
  auto native = Native_path(path);
  if (!native) {
    error_ = ENOENT;
    return Result::kFailed;
  }
  fd_ = ::open(native->c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno;
    return error_ == ETXTBSY ? Result::kInUse : Result::kFailed;
  }
  struct stat st;
  if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
    error_ = S_ISDIR(st.st_mode) ? EISDIR : errno;
    Close();
    return Result::kFailed;
  }
  if (::fcntl(fd_, F_SETLEASE, F_RDLCK) == 0) {
    ::fcntl(fd_, F_SETLEASE, F_UNLCK);
  } else if (errno == EAGAIN || errno == EBUSY) {
    error_ = errno;
    Close();
    return Result::kInUse;
  }
  // Other lease failures (a file system without leases, a file of another
  // owner) say nothing about writers: the file is read as it is.
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = ::read(fd_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error_ = errno;
      Close();
      return Result::kFailed;
    }
    if (got == 0) break;
    bytes_.append(buffer, size_t(got));
  }
  return Result::kOpened;
}

void CatalogueFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  bytes_.clear();
}

}  // namespace zendrel
