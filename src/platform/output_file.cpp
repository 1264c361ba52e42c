#include "platform/output_file.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/native_path.h"

namespace zendrel {
namespace {
std::atomic<long long> g_fail_after{-1};
}

void OutputFile::Fail_after_bytes_for_testing(long long bytes) { g_fail_after = bytes; }

Status OutputFile::Open(const std::string& path) {
  Discard();
  path_ = path;
  status_ = Status();
  auto native = Native_path(path);
  if (!native) return status_ = Status::FileError(path, "no drive is set for this path");
  native_target_ = *native;
  native_temp_ = native_target_ + ".tmp";
  file_ = std::fopen(native_temp_.c_str(), "wb");
  if (!file_) return status_ = Status::FileError(path, Errno_text(errno));
  return status_;
}

void OutputFile::Write(const std::string& text) {
  if (!file_ || !status_.ok()) return;
  long long budget = g_fail_after.load();
  if (budget >= 0) {
    if (budget < (long long)text.size()) {
      g_fail_after = 0;
      status_ = Status::FileError(path_, Errno_text(ENOSPC));
      return;
    }
    g_fail_after = budget - (long long)text.size();
  }
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size())
    status_ = Status::FileError(path_, Errno_text(errno));
}

void OutputFile::Write_line(const std::string& text) { Write(text + "\r\n"); }

Status OutputFile::Commit() {
  if (!file_) return status_.ok() ? Status::FileError(path_, "not open") : status_;
  if (status_.ok() && (std::fflush(file_) != 0 || ::fsync(fileno(file_)) != 0))
    status_ = Status::FileError(path_, Errno_text(errno));
  if (std::fclose(file_) != 0 && status_.ok())
    status_ = Status::FileError(path_, Errno_text(errno));
  file_ = nullptr;
  if (status_.ok() && std::rename(native_temp_.c_str(), native_target_.c_str()) != 0)
    status_ = Status::FileError(path_, Errno_text(errno));
  if (!status_.ok()) ::unlink(native_temp_.c_str());
  return status_;
}

void OutputFile::Discard() {
  if (!file_) return;
  std::fclose(file_);
  file_ = nullptr;
  ::unlink(native_temp_.c_str());
}

}  // namespace zendrel
