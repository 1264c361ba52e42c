#include "platform/posix_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <utility>

namespace zendrel {
namespace {

std::atomic<long long> g_write_budget{-1};
std::atomic<int> g_renames_to_fail{0};

constexpr char kTemporaryPrefix[] = ".zendrel-";
constexpr char kTemporarySuffix[] = ".tmp";
constexpr size_t kRandomLetters = 12;
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";

// Takes `size` bytes of the test's budget; false when the budget runs out.
bool Take_write_budget(size_t size) {
  long long budget = g_write_budget.load();
  while (budget >= 0) {
    long long left = budget - (long long)size;
    if (g_write_budget.compare_exchange_weak(budget, left < 0 ? 0 : left)) return left >= 0;
  }
  return true;
}

bool Rename_fails_for_testing() {
  int left = g_renames_to_fail.load();
  while (left > 0) {
    if (g_renames_to_fail.compare_exchange_weak(left, left - 1)) return left == 1;
  }
  return false;
}

std::string Random_text() {
  unsigned char random[kRandomLetters];
  size_t got = 0;
  while (got < sizeof random) {
    ssize_t n = ::getrandom(random + got, sizeof random - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += size_t(n);
  }
  std::string text;
  for (unsigned char c : random) text += kLetters[c % (sizeof kLetters - 1)];
  return text;
}

std::string Directory_of(const std::string& native) {
  size_t slash = native.rfind('/');
  if (slash == std::string::npos) return "";
  return native.substr(0, slash + 1);
}

}  // namespace

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    Reset();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

int FileDescriptor::Close() {
  if (fd_ < 0) return 0;
  // Linux frees the descriptor even when close() is interrupted: no retry.
  int result = ::close(std::exchange(fd_, -1));
  return result;
}

void FileDescriptor::Reset() { Close(); }

bool Write_all(int fd, const void* data, size_t size) {
  if (!Take_write_budget(size)) {
    errno = ENOSPC;
    return false;
  }
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t written = ::write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    bytes += written;
    size -= size_t(written);
  }
  return true;
}

ssize_t Read_full(int fd, void* data, size_t size) {
  char* bytes = static_cast<char*>(data);
  size_t done = 0;
  while (done < size) {
    ssize_t got = ::read(fd, bytes + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += size_t(got);
  }
  return ssize_t(done);
}

bool Read_to_end(int fd, std::string* bytes) {
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = Read_full(fd, buffer, sizeof buffer);
    if (got < 0) return false;
    bytes->append(buffer, size_t(got));
    if (size_t(got) < sizeof buffer) return true;
  }
}

Status Open_regular_file(const std::string& native, const std::string& shown, FileDescriptor* fd) {
  *fd = FileDescriptor(::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd->valid()) return Status::FileError(shown, Errno_text(errno));
  struct stat info;
  if (::fstat(fd->get(), &info) != 0) return Status::FileError(shown, Errno_text(errno));
  if (!S_ISREG(info.st_mode)) {
    fd->Reset();
    errno = S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
    return Status::FileError(shown, S_ISDIR(info.st_mode)
                                        ? "is a directory, not a file"
                                        : "is not a plain file (a pipe or a device)");
  }
  int flags = ::fcntl(fd->get(), F_GETFL);
  if (flags >= 0) ::fcntl(fd->get(), F_SETFL, flags & ~O_NONBLOCK);
  return Status();
}

Status AtomicFile::Create(const std::string& native_target, const std::string& shown) {
  Discard();
  target_ = native_target;
  shown_ = shown;
  struct stat existing;
  bool exists = ::stat(target_.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    return Status::FileError(shown, S_ISDIR(existing.st_mode)
                                        ? "is a directory, so the file cannot be written"
                                        : "is not a plain file (a pipe or a device), so it "
                                          "cannot be written");
  }
  // The user made it read-only: it is not ours to make writable again.
  if (exists && (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    return Status::FileError(shown,
                             "is read-only, so it was left as it was; make it writable and "
                             "try again");
  }
  // A name that exists already, perhaps a link planted under a guessed name,
  // fails the exclusive open; another random name is then tried.
  for (int attempt = 0; attempt < 16; ++attempt) {
    temp_ = Temporary_path_beside(target_);
    fd_ = FileDescriptor(
        ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (fd_.valid()) {
      // The new file keeps the permissions of the one it replaces (a
      // private 0600 page stays private).
      if (exists) (void)::fchmod(fd_.get(), existing.st_mode & 07777);
      return Status();
    }
    if (errno != EEXIST) break;
  }
  Status failed = Status::FileError(shown, Errno_text(errno));
  temp_.clear();
  return failed;
}

void AtomicFile::Retarget(const std::string& native_target, const std::string& shown) {
  target_ = native_target;
  shown_ = shown;
}

std::string Temporary_path_beside(const std::string& native_target) {
  return Directory_of(native_target) + kTemporaryPrefix + Random_text() + kTemporarySuffix;
}

Status AtomicFile::Write(std::string_view bytes) {
  if (!fd_.valid()) return Status::FileError(shown_, "not open");
  if (!Write_all(fd_.get(), bytes.data(), bytes.size()))
    return Status::FileError(shown_, Errno_text(errno));
  return Status();
}

Status AtomicFile::Finish() {
  if (finished_) return Status();
  if (!fd_.valid()) return Status::FileError(shown_, "not open");
  Status status;
  if (::fsync(fd_.get()) != 0) status = Status::FileError(shown_, Errno_text(errno));
  if (fd_.Close() != 0 && status.ok()) status = Status::FileError(shown_, Errno_text(errno));
  if (!status.ok()) {
    Discard();
    return status;
  }
  finished_ = true;
  return status;
}

Status AtomicFile::Replace() {
  if (!finished_) {
    if (Status finished = Finish(); !finished.ok()) return finished;
  }
  Status status;
  if (Rename_fails_for_testing()) {
    status = Status::FileError(shown_, Errno_text(EIO));
  } else if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
    status = Status::FileError(shown_, Errno_text(errno));
  } else {
    temp_.clear();
  }
  finished_ = false;
  Discard();
  return status;
}

Status AtomicFile::Commit() {
  if (Status finished = Finish(); !finished.ok()) return finished;
  return Replace();
}

void AtomicFile::Discard() {
  fd_.Reset();
  finished_ = false;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

Status Write_file_atomically(const std::string& native_target, std::string_view bytes,
                             const std::string& shown) {
  AtomicFile file;
  if (Status created = file.Create(native_target, shown); !created.ok()) return created;
  if (Status written = file.Write(bytes); !written.ok()) return written;
  return file.Commit();
}

std::string Random_name_text() { return Random_text(); }

bool Is_random_name_text(std::string_view text) {
  if (text.size() != kRandomLetters) return false;
  for (char c : text) {
    if (std::string_view(kLetters).find(c) == std::string_view::npos) return false;
  }
  return true;
}

bool Is_temporary_name(const std::string& name) {
  // Exactly the names made here: a user's ".zendrel-notes.tmp" is not one.
  std::string_view prefix = kTemporaryPrefix, suffix = kTemporarySuffix;
  return name.size() == prefix.size() + kRandomLetters + suffix.size() &&
         name.compare(0, prefix.size(), prefix) == 0 &&
         name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0 &&
         Is_random_name_text(std::string_view(name).substr(prefix.size(), kRandomLetters));
}

void Remove_temporaries(const std::string& native_directory) {
  DIR* directory = ::opendir(native_directory.c_str());
  if (!directory) return;
  std::string prefix = native_directory.empty() || native_directory.back() == '/'
                           ? native_directory
                           : native_directory + "/";
  while (dirent* entry = ::readdir(directory)) {
    std::string name = entry->d_name;
    if (Is_temporary_name(name)) ::unlink((prefix + name).c_str());
  }
  ::closedir(directory);
}

void Fail_writes_after_bytes_for_testing(long long bytes) { g_write_budget = bytes; }
void Fail_rename_for_testing(int renames) { g_renames_to_fail = renames; }

}  // namespace zendrel
