// A catalogue opened for reading "while refusing other writers": the open
// tells a file that another program holds open for writing from one that
// cannot be opened at all. On Linux a read lease can be taken exactly when no
// other process has the file open for writing; the lease is let go at once,
// so other programs are never kept waiting on it.
#pragma once

#include <string>

#include "platform/drive_table.h"
#include "platform/posix_file.h"

namespace zendrel {

class CatalogueFile {
 public:
  enum class Result { kOpened, kInUse, kFailed };

  CatalogueFile() = default;
  ~CatalogueFile() { Close(); }
  CatalogueFile(const CatalogueFile&) = delete;
  CatalogueFile& operator=(const CatalogueFile&) = delete;

  // Opens `path` (Windows view through `drives`) and reads it whole.
  Result Open(const DriveTable& drives, const std::string& path);
  void Close();

  bool is_open() const { return fd_.valid(); }
  const std::string& bytes() const { return bytes_; }
  int error_number() const { return error_; }  // errno of a failed open
  // Why a path that is no plain file (a pipe, a device, a directory) was
  // refused without waiting on it; empty otherwise.
  const std::string& refusal() const { return refusal_; }

 private:
  FileDescriptor fd_;
  int error_ = 0;
  std::string refusal_;
  std::string bytes_;
};

}  // namespace zendrel
