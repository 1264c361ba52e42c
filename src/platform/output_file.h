// A text file written whole or not at all: lines go to a temporary file
// beside the target, which replaces the target only on Commit(). Dropping an
// uncommitted file removes the temporary, so no failure or crash leaves a
// half-written page or catalogue in place of the user's last good one.
// Lines end in carriage return and line feed. One thread at a time.
#pragma once

#include <cstdio>
#include <string>

#include "platform/status.h"

namespace zendrel {

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile() { Discard(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // `path` is the target, Windows view.
  Status Open(const std::string& path);
  // Writes `text` and CR LF. After a failure further writes do nothing;
  // status() keeps the first failure.
  void Write_line(const std::string& text);
  void Write(const std::string& text);
  // Flushes, syncs and renames over the target.
  Status Commit();
  // Removes the temporary file; the target is left as it was.
  void Discard();

  bool is_open() const { return file_ != nullptr; }
  const Status& status() const { return status_; }
  const std::string& path() const { return path_; }

  // Tests: writes fail with "No space left on device" after this many bytes
  // of any OutputFile (-1: never).
  static void Fail_after_bytes_for_testing(long long bytes);

 private:
  std::FILE* file_ = nullptr;
  std::string path_;         // target, Windows view
  std::string native_temp_;  // the temporary, native
  std::string native_target_;
  Status status_;
};

}  // namespace zendrel
