#include "platform/output_file.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/native_path.h"

namespace zendrel {
namespace {
constexpr size_t kBufferBytes = 1 << 16;
}

Status OutputFile::Open(const std::string& path) {
  Discard();
  path_ = path;
  status_ = Status();
  auto native = Native_target_path(path);
  if (!native) return status_ = Status::FileError(path, "no drive is set for this path");
  return status_ = file_.Create(*native, path);
}

void OutputFile::Write(const std::string& text) {
  if (!file_.is_open() || !status_.ok()) return;
  buffer_ += text;
  if (buffer_.size() >= kBufferBytes) Flush();
}

void OutputFile::Write_line(const std::string& text) {
  Write(text);
  Write("\r\n");
}

void OutputFile::Flush() {
  if (status_.ok() && !buffer_.empty()) status_ = file_.Write(buffer_);
  buffer_.clear();
}

Status OutputFile::Finish() {
  if (!file_.is_open()) return status_.ok() ? Status::FileError(path_, "not open") : status_;
  Flush();
  if (status_.ok()) status_ = file_.Finish();
  if (!status_.ok()) Discard();
  return status_;
}

Status OutputFile::Replace() {
  if (Status finished = Finish(); !finished.ok()) return finished;
  status_ = file_.Replace();
  return status_;
}

Status OutputFile::Commit() { return Replace(); }

void OutputFile::Retarget(const std::string& path) {
  auto native = Native_target_path(path);
  if (!native) return;
  path_ = path;
  file_.Retarget(*native, path);
}

Status Replace_together(std::initializer_list<OutputFile*> files) {
  for (OutputFile* file : files) {
    if (Status finished = file->Finish(); !finished.ok()) return finished;
  }
  struct Replaced {
    std::string target, backup;  // backup empty: there was no previous file
  };
  std::vector<Replaced> done;
  Status status;
  for (OutputFile* file : files) {
    // A second name for the previous file keeps it through the rename.
    Replaced replaced{file->native_target(), ""};
    std::string backup = Temporary_path_beside(replaced.target);
    if (::link(replaced.target.c_str(), backup.c_str()) == 0) {
      replaced.backup = backup;
    } else if (errno != ENOENT) {
      status = Status::FileError(file->path(), Errno_text(errno));
      break;
    }
    status = file->Replace();
    if (!status.ok()) {
      if (!replaced.backup.empty()) ::unlink(replaced.backup.c_str());
      break;
    }
    done.push_back(replaced);
  }
  for (const Replaced& replaced : done) {
    if (status.ok()) {
      if (!replaced.backup.empty()) ::unlink(replaced.backup.c_str());
    } else if (replaced.backup.empty()) {
      ::unlink(replaced.target.c_str());
    } else {
      ::rename(replaced.backup.c_str(), replaced.target.c_str());
    }
  }
  for (OutputFile* file : files) file->Discard();
  return status;
}

void OutputFile::Discard() {
  buffer_.clear();
  file_.Discard();
}

}  // namespace zendrel
