#include "platform/catalogue_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/native_path.h"

namespace zendrel {

CatalogueFile::Result CatalogueFile::Open(const DriveTable& drives, const std::string& path) {
  Close();
  error_ = 0;
  auto native = Native_path(drives, path);
  if (!native) {
    error_ = ENOENT;
    return Result::kFailed;
  }
  FileDescriptor file;
  Status opened = Open_regular_file(*native, path, &file);
  if (!opened.ok()) {
    error_ = errno;
    // A pipe, a device or a directory: refused at once, with its cause.
    if (error_ == EISDIR || error_ == ENODEV) refusal_ = opened.message();
    return error_ == ETXTBSY ? Result::kInUse : Result::kFailed;
  }
  fd_ = std::move(file);
  if (::fcntl(fd_.get(), F_SETLEASE, F_RDLCK) == 0) {
    ::fcntl(fd_.get(), F_SETLEASE, F_UNLCK);
  } else if (errno == EAGAIN || errno == EBUSY) {
    error_ = errno;
    Close();
    return Result::kInUse;
  }
  // Other lease failures (a file system without leases, a file of another
  // owner) say nothing about writers: the file is read as it is.
  if (!Read_to_end(fd_.get(), &bytes_)) {
    error_ = errno;
    Close();
    return Result::kFailed;
  }
  return Result::kOpened;
}

void CatalogueFile::Close() {
  fd_.Reset();
  refusal_.clear();
  bytes_.clear();
}

}  // namespace zendrel
