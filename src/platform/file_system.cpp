#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/codepage.h"
#include "platform/native_path.h"
#include "platform/posix_file.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

std::optional<struct stat> Stat_of(const DriveTable& drives, const std::string& path) {
  auto native = Native_path(drives, path);
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

bool File_exists(const DriveTable& drives, const std::string& path) {
  return Stat_of(drives, path).has_value();
}

bool Plain_file_exists(const DriveTable& drives, const std::string& path) {
  auto st = Stat_of(drives, path);
  return st && S_ISREG(st->st_mode) && !Is_hidden(*Native_path(drives, path));
}

bool Directory_exists(const DriveTable& drives, const std::string& path) {
  auto st = Stat_of(drives, path);
  return st && S_ISDIR(st->st_mode);
}

std::optional<std::tm> Modified_time(const DriveTable& drives, const std::string& path) {
  auto st = Stat_of(drives, path);
  if (!st) return std::nullopt;
  std::tm local{};
  time_t seconds = st->st_mtim.tv_sec;
  if (!::localtime_r(&seconds, &local)) return std::nullopt;
  return local;
}

Status Copy_file(const DriveTable& drives, const std::string& from, const std::string& to) {
  auto dst = Native_target_path(drives, to);
  if (!dst) return Unknown_drive(to);
  return Copy_file_to(drives, from, *dst, to);
}

Status Copy_file_to(const DriveTable& drives, const std::string& from, const std::string& native_to,
                    const std::string& to) {
  auto src = Native_path(drives, from);
  if (!src) return Unknown_drive(from);
  FileDescriptor in;
  if (Status opened = Open_regular_file(*src, from, &in); !opened.ok()) return opened;
  struct stat source_stat;
  if (::fstat(in.get(), &source_stat) != 0) return Status::FileError(from, Errno_text(errno));
  struct stat target_stat;
  bool new_file = ::stat(native_to.c_str(), &target_stat) != 0;
  AtomicFile out;
  if (Status created = out.Create(native_to, to); !created.ok()) return created;
  // A new copy is never more open than its original: a private page's
  // backup stays private. (A replaced file keeps its own permissions.)
  if (new_file) (void)::fchmod(out.fd(), (source_stat.st_mode & 0644) | S_IWUSR);
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = Read_full(in.get(), buffer, sizeof buffer);
    if (got < 0) return Status::FileError(from, Errno_text(errno));
    if (Status written = out.Write(std::string_view(buffer, size_t(got))); !written.ok())
      return written;
    if (size_t(got) < sizeof buffer) break;
  }
  // The copy keeps the original's time, as a copy on Windows does: a copy
  // archived again is then named after the picture's own time.
  struct timespec times[2] = {source_stat.st_atim, source_stat.st_mtim};
  if (::futimens(out.fd(), times) != 0) return Status::FileError(to, Errno_text(errno));
  return out.Commit();
}

Status Files_hold_same_bytes(const std::string& native_a, const std::string& native_b, bool* same) {
  *same = false;
  FileDescriptor a, b;
  if (Status opened = Open_regular_file(native_a, native_a, &a); !opened.ok()) return opened;
  if (Status opened = Open_regular_file(native_b, native_b, &b); !opened.ok()) return opened;
  struct stat sa, sb;
  if (::fstat(a.get(), &sa) != 0 || ::fstat(b.get(), &sb) != 0)
    return Status::FileError(native_a, Errno_text(errno));
  if (sa.st_size != sb.st_size) return Status();
  char buffer_a[1 << 15], buffer_b[1 << 15];
  for (;;) {
    ssize_t got_a = Read_full(a.get(), buffer_a, sizeof buffer_a);
    ssize_t got_b = Read_full(b.get(), buffer_b, sizeof buffer_b);
    if (got_a < 0 || got_b < 0) return Status::FileError(native_a, Errno_text(errno));
    if (got_a != got_b || std::memcmp(buffer_a, buffer_b, size_t(got_a)) != 0) return Status();
    if (size_t(got_a) < sizeof buffer_a) break;
  }
  *same = true;
  return Status();
}

Status Rename_file(const DriveTable& drives, const std::string& from, const std::string& to) {
  auto src = Native_path(drives, from);
  auto dst = Native_path(drives, to);
  if (!src) return Unknown_drive(from);
  if (!dst) return Unknown_drive(to);
  if (::rename(src->c_str(), dst->c_str()) != 0) return Status::FileError(to, Errno_text(errno));
  return Status();
}

Status Delete_file(const DriveTable& drives, const std::string& path) {
  auto native = Native_path(drives, path);
  if (!native) return Unknown_drive(path);
  if (::unlink(native->c_str()) != 0) return Status::FileError(path, Errno_text(errno));
  return Status();
}

Status Read_whole_file(const DriveTable& drives, const std::string& path, std::string* bytes) {
  auto native = Native_path(drives, path);
  if (!native) return Unknown_drive(path);
  bytes->clear();
  FileDescriptor file;
  if (Status opened = Open_regular_file(*native, path, &file); !opened.ok()) return opened;
  if (!Read_to_end(file.get(), bytes)) return Status::FileError(path, Errno_text(errno));
  return Status();
}

Status List_directory(const DriveTable& drives, const std::string& directory,
                      const std::string& pattern, ListFilter filter,
                      std::vector<std::string>* names, std::vector<std::string>* dangling) {
  names->clear();
  auto native = Native_path(drives, directory);
  if (!native) return Unknown_drive(directory);
  DIR* d = ::opendir(native->c_str());
  if (!d) return Status::FileError(directory, Errno_text(errno));
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name.empty() || name[0] == '.') continue;  // hidden, "." and ".."
    struct stat st;
    std::string full = *native + (native->back() == '/' ? "" : "/") + name;
    if (::stat(full.c_str(), &st) != 0) {
      if (dangling && ::lstat(full.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        dangling->push_back(Utf8_to_system_text(name));
      continue;
    }
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

std::string Program_directory_native() {
  std::error_code ec;
  auto exe = std::filesystem::canonical("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec).string();
  return exe.parent_path().string();
}

std::string Program_directory(const DriveTable& drives) {
  return Windows_path(drives, Program_directory_native());
}

}  // namespace zendrel
