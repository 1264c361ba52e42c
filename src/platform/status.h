// Status: the one error value of the core. A code and a message that names
// the file and the cause; never thrown. Copyable, thread-compatible.
#pragma once

#include <string>
#include <utility>

namespace zendrel {

class Status {
 public:
  Status() = default;  // success
  static Status Error(std::string message) { return Status(std::move(message)); }
  // "<path>: <cause>" is the form every failure message takes.
  static Status FileError(const std::string& path, const std::string& cause) {
    return Status(path + ": " + cause);
  }

  bool ok() const { return !failed_; }
  const std::string& message() const { return message_; }

 private:
  explicit Status(std::string message) : failed_(true), message_(std::move(message)) {}
  bool failed_ = false;
  std::string message_;
};

// The text of errno as the cause of a failure.
std::string Errno_text(int error_number);

}  // namespace zendrel
