#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/codepage.h"
#include "platform/drive_table.h"
#include "platform/native_path.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

std::optional<struct stat> Stat_of(const std::string& path) {
  auto native = Native_path(path);
  struct stat st;
  if (!native || ::stat(native->c_str(), &st) != 0) return std::nullopt;
  return st;
}

bool Is_hidden(const std::string& native) {
  std::string name = std::filesystem::path(native).filename().string();
  return !name.empty() && name[0] == '.';
}

Status Unknown_drive(const std::string& path) {
  return Status::FileError(path, "no drive is set for this path");
}

}  // namespace

bool File_exists(const std::string& path) { return Stat_of(path).has_value(); }

bool Plain_file_exists(const std::string& path) {
  auto st = Stat_of(path);
  return st && S_ISREG(st->st_mode) && !Is_hidden(*Native_path(path));
}

bool Directory_exists(const std::string& path) {
  auto st = Stat_of(path);
  return st && S_ISDIR(st->st_mode);
}

std::optional<std::tm> Modified_time(const std::string& path) {
  auto st = Stat_of(path);
  if (!st) return std::nullopt;
  std::tm local{};
  time_t seconds = st->st_mtim.tv_sec;
  if (!::localtime_r(&seconds, &local)) return std::nullopt;
  return local;
}

Status Copy_file(const std::string& from, const std::string& to) {
  auto dst = Native_path(to);
  if (!dst) return Unknown_drive(to);
  return Copy_file_to(from, *dst, to);
}

Status Copy_file_to(const std::string& from, const std::string& native_to, const std::string& to) {
  auto src = Native_path(from);
  if (!src) return Unknown_drive(from);
  const std::string* dst = &native_to;
  int in = ::open(src->c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return Status::FileError(from, Errno_text(errno));
  struct stat source_stat, target_stat;
  if (::fstat(in, &source_stat) == 0 && ::stat(dst->c_str(), &target_stat) == 0 &&
      source_stat.st_dev == target_stat.st_dev && source_stat.st_ino == target_stat.st_ino) {
    ::close(in);  // copying a file onto itself would empty it
    return Status::FileError(to, "is the file to be copied itself");
  }
  int out = ::open(dst->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) {
    int error = errno;
    ::close(in);
    return Status::FileError(to, Errno_text(error));
  }
  char buffer[1 << 16];
  Status status;
  for (;;) {
    ssize_t got = ::read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      status = Status::FileError(from, Errno_text(errno));
      break;
    }
    if (got == 0) break;
    for (ssize_t done = 0; done < got;) {
      ssize_t put = ::write(out, buffer + done, size_t(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) {
        status = Status::FileError(to, Errno_text(errno));
        break;
      }
      done += put;
    }
    if (!status.ok()) break;
  }
  ::close(in);
  if (::close(out) != 0 && status.ok()) status = Status::FileError(to, Errno_text(errno));
  if (!status.ok()) ::unlink(dst->c_str());
  return status;
}

Status Rename_file(const std::string& from, const std::string& to) {
  auto src = Native_path(from);
  auto dst = Native_path(to);
  if (!src) return Unknown_drive(from);
  if (!dst) return Unknown_drive(to);
  if (::rename(src->c_str(), dst->c_str()) != 0) return Status::FileError(to, Errno_text(errno));
  return Status();
}

Status Delete_file(const std::string& path) {
  auto native = Native_path(path);
  if (!native) return Unknown_drive(path);
  if (::unlink(native->c_str()) != 0) return Status::FileError(path, Errno_text(errno));
  return Status();
}

Status Read_whole_file(const std::string& path, std::string* bytes) {
  auto native = Native_path(path);
  if (!native) return Unknown_drive(path);
  int fd = ::open(native->c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Status::FileError(path, Errno_text(errno));
  bytes->clear();
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      int error = errno;
      ::close(fd);
      return Status::FileError(path, Errno_text(error));
    }
    if (got == 0) break;
    bytes->append(buffer, size_t(got));
  }
  ::close(fd);
  return Status();
}

Status List_directory(const std::string& directory, const std::string& pattern, ListFilter filter,
                      std::vector<std::string>* names) {
  names->clear();
  auto native = Native_path(directory);
  if (!native) return Unknown_drive(directory);
  DIR* d = ::opendir(native->c_str());
  if (!d) return Status::FileError(directory, Errno_text(errno));
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name.empty() || name[0] == '.') continue;  // hidden, "." and ".."
    struct stat st;
    std::string full = *native + (native->back() == '/' ? "" : "/") + name;
    if (::stat(full.c_str(), &st) != 0) continue;
    bool wanted = filter == ListFilter::kDirectories ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode);
    std::string text = Utf8_to_system_text(name);
    if (wanted && Matches_pattern(text, pattern)) names->push_back(text);
  }
  ::closedir(d);
  // Listed as Windows lists them: by name without regard to case, so that
  // archives come out in the same order on every file system.
  std::stable_sort(names->begin(), names->end(), [](const std::string& a, const std::string& b) {
    return Fold_case(a) < Fold_case(b);
  });
  return Status();
}

std::string Volume_label(const std::string& drive_root) {
  if (drive_root.size() < 2 || drive_root[1] != ':') return {};
  const Drive* drive = DriveTable::Global().Find(drive_root[0]);
  return drive ? drive->label : std::string();
}

std::string Program_directory_native() {
  std::error_code ec;
  auto exe = std::filesystem::canonical("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec).string();
  return exe.parent_path().string();
}

std::string Program_directory() { return Windows_path(Program_directory_native()); }

}  // namespace zendrel
