// A fresh directory for one test, removed afterwards, with helpers to reach
// it in its Windows view through Root_drives().
#pragma once

#include <string>

#include "platform/drive_table.h"

namespace zendrel::testing {

// A drive table of C: = "/" alone, whatever the machine mounts: a new one
// for each caller, so that no test sees drives another one added.
DriveTable Root_drives();

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& native() const { return native_; }
  // Native path of `relative` inside the directory.
  std::string Native(const std::string& relative) const { return native_ + "/" + relative; }
  // Windows view of the directory, or of `relative` inside it.
  std::string Win(const std::string& relative = "") const;

  // Writes a file (directories made as needed); returns its native path.
  std::string Write(const std::string& relative, const std::string& bytes) const;
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;
  void Make_dir(const std::string& relative) const;
  // Whether a private temporary file of the program is left in the
  // directory `relative` ("" for the directory itself).
  bool Has_temporaries(const std::string& relative = "") const;

 private:
  std::string native_;
};

}  // namespace zendrel::testing
