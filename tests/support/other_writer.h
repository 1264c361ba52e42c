// Another program that holds a file open for writing: a child process that
// opens the file and keeps it open until Release() (or destruction).
#pragma once

#include <sys/types.h>

#include <string>

namespace zendrel::testing {

class OtherWriter {
 public:
  // Returns once the child has the file open.
  explicit OtherWriter(const std::string& native_path);
  ~OtherWriter() { Release(); }
  OtherWriter(const OtherWriter&) = delete;
  OtherWriter& operator=(const OtherWriter&) = delete;

  // The other program closes the file and ends.
  void Release();

 private:
  pid_t child_ = -1;
  int release_fd_ = -1;
};

}  // namespace zendrel::testing
