#include "platform/output_file.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/kept_files.h"
#include "platform/native_path.h"

namespace zendrel {
namespace {
constexpr size_t kBufferBytes = 1 << 16;
}

Status OutputFile::Open(const DriveTable& drives, const std::string& path) {
  Discard();
  path_ = path;
  status_ = Status();
  lines_ = 0;
  auto native = Native_target_path(drives, path);
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
  ++lines_;
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

void OutputFile::Retarget(const DriveTable& drives, const std::string& path) {
  auto native = Native_target_path(drives, path);
  if (!native) return;
  path_ = path;
  file_.Retarget(*native, path);
}

Status Replace_together(std::initializer_list<OutputFile*> files) {
  for (OutputFile* file : files) {
    if (Status finished = file->Finish(); !finished.ok()) return finished;
  }
  if (files.size() == 0) return Status();
  const std::string& first = (*files.begin())->native_target();
  KeptFiles kept(first.substr(0, first.rfind('/') + 1));
  const Status killed = Status::Error("the commit was stopped for a test");
  Status status;
  for (OutputFile* file : files) {
    if (Commit_killed_here_for_testing()) return killed;
    status = kept.Keep(file->native_target(), file->path());
    if (!status.ok()) break;
  }
  if (status.ok()) {
    for (OutputFile* file : files) {
      if (Commit_killed_here_for_testing()) return killed;
      status = file->Replace();
      if (!status.ok()) break;
    }
  }
  if (status.ok()) {
    if (Commit_killed_here_for_testing()) return killed;
    status = kept.Mark_done();
  }
  if (status.ok()) {
    kept.Remove_kept();
  } else {
    kept.Put_back();
  }
  for (OutputFile* file : files) file->Discard();
  return status;
}

void OutputFile::Discard() {
  buffer_.clear();
  file_.Discard();
}

}  // namespace zendrel
