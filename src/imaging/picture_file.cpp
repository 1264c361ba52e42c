#include "imaging/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/status.h"

namespace zendrel {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting the result (a deferred write error shows here).
  int Close() {
    int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

bool Write_all(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    data += written;
    size -= size_t(written);
  }
  return true;
}

}  // namespace

bool Read_picture_file(const std::string& path, size_t max_bytes, std::string* bytes) {
  // O_NONBLOCK: opening a named pipe must not wait for a writer.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) return false;
  struct stat info;
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (info.st_size <= 0 || size_t(info.st_size) > max_bytes) return false;
  bytes->resize(size_t(info.st_size));
  size_t done = 0;
  while (done < bytes->size()) {
    ssize_t got = ::read(file.get(), bytes->data() + done, bytes->size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // the file shrank under us: read what there is
    done += size_t(got);
  }
  bytes->resize(done);
  return done > 0;
}

std::string Write_whole_file(const std::string& path, const void* data, size_t size) {
  size_t slash = path.rfind('/');
  std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  // A hidden name, so that a directory scan never takes it for a picture.
  std::string temp = directory + "." + name + ".XXXXXX";
  FileDescriptor file(::mkstemp(temp.data()));
  if (file.get() < 0) return Errno_text(errno);
  std::string cause;
  if (::fchmod(file.get(), 0644) != 0 ||
      !Write_all(file.get(), static_cast<const char*>(data), size)) {
    cause = Errno_text(errno);
  }
  if (file.Close() != 0 && cause.empty()) cause = Errno_text(errno);
  if (cause.empty() && std::rename(temp.c_str(), path.c_str()) != 0) cause = Errno_text(errno);
  if (!cause.empty()) ::unlink(temp.c_str());
  return cause;
}

}  // namespace zendrel
