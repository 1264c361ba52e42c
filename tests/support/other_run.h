// Another process holding a directory's archive lock, as a second Zendrel
// run would, until the test lets it go. No sleeps: the child says when it
// holds the lock, and ends when its pipe is closed.
#pragma once

#include <sys/types.h>

#include <string>

namespace zendrel::testing {

class OtherRun {
 public:
  explicit OtherRun(const std::string& native_dir);
  ~OtherRun() { Finish(); }
  OtherRun(const OtherRun&) = delete;
  OtherRun& operator=(const OtherRun&) = delete;
  bool holds_lock() const { return holds_lock_; }
  void Finish();

 private:
  pid_t child_ = -1;
  int release_ = -1;
  bool holds_lock_ = false;
};

}  // namespace zendrel::testing
