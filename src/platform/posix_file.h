// The one way the program touches files on POSIX: a descriptor that closes
// itself, reads and writes that go on after an interrupted system call, and
// a file that replaces its target only when written whole. Temporary files
// are private: a fresh random name, created exclusively and never through a
// symbolic link, in the target's own directory so that the final rename
// cannot cross file systems. Native paths. Safe on any thread.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace zendrel {

class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Reset(); }
  FileDescriptor(FileDescriptor&& other) noexcept;
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports the result: a deferred write error shows here.
  int Close();
  void Reset();

 private:
  int fd_ = -1;
};

// Writes all `size` bytes; false with errno set when it cannot.
bool Write_all(int fd, const void* data, size_t size);
// Reads up to `size` bytes, fewer only at the end of the file; -1 with
// errno set on a failure.
ssize_t Read_full(int fd, void* data, size_t size);
// Appends the rest of the file to `bytes`; false with errno set.
bool Read_to_end(int fd, std::string* bytes);

// Opens an existing regular file for reading. A pipe, a device or a
// directory is refused at once (opening a pipe would wait for a writer).
Status Open_regular_file(const std::string& native, const std::string& shown, FileDescriptor* fd);

// A file written beside its target under a private name, which replaces the
// target only on Replace(). Dropping it before removes the temporary.
class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile() { Discard(); }
  AtomicFile(AtomicFile&& other) noexcept = default;
  AtomicFile& operator=(AtomicFile&& other) noexcept = default;

  // `native_target`: the file to replace or make; `shown` names it in
  // messages. A target that exists and is not a regular file (a directory,
  // a pipe), or is read-only, is refused now rather than at the end of the
  // work. The new file takes the permissions of the one it replaces.
  Status Create(const std::string& native_target, const std::string& shown);
  int fd() const { return fd_.get(); }
  Status Write(std::string_view bytes);
  // Syncs and closes: the bytes are on the disk under the temporary name.
  Status Finish();
  // Renames the finished temporary over the target.
  Status Replace();
  // Finish() and Replace().
  Status Commit();
  void Discard();

  bool is_open() const { return fd_.valid() || finished_; }
  const std::string& shown() const { return shown_; }
  const std::string& target() const { return target_; }
  // Another target in the same directory, before Replace().
  void Retarget(const std::string& native_target, const std::string& shown);

 private:
  FileDescriptor fd_;
  std::string target_, temp_, shown_;
  bool finished_ = false;
};

// `bytes` become the whole of `native_target`, or it is left as it was.
Status Write_file_atomically(const std::string& native_target, std::string_view bytes,
                             const std::string& shown);

// A fresh private name in the directory of `native_target`.
std::string Temporary_path_beside(const std::string& native_target);

// Twelve random letters and digits, and whether `text` is such a text: the
// private part of every name the program makes for itself.
std::string Random_name_text();
bool Is_random_name_text(std::string_view text);

// Whether `name` is one of the private temporaries' names: what a killed
// run left behind, which the next run that holds the lock removes.
bool Is_temporary_name(const std::string& name);
// Removes such leftovers from a directory (not following links).
void Remove_temporaries(const std::string& native_directory);

// Tests: every write fails with "No space left on device" once this many
// bytes have been written in all (-1: never); and the rename of the
// `renames`-th Replace() from now fails (0: none).
void Fail_writes_after_bytes_for_testing(long long bytes);
void Fail_rename_for_testing(int renames);

}  // namespace zendrel
