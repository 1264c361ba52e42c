#include "platform/native_path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <vector>

#include "platform/codepage.h"
#include "platform/drive_table.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// Compares a native name with a wanted component in system text.
bool Same_name(const std::string& native_name, const std::string& wanted_folded) {
  std::string folded = Fold_case(Utf8_to_cp1252(native_name));
  if (folded.size() != wanted_folded.size()) return false;
  for (size_t i = 0; i < folded.size(); ++i) {
    if (wanted_folded[i] != '?' && wanted_folded[i] != folded[i]) return false;
  }
  return true;
}

// The one entry of `dir` that matches `component`; empty when none or several.
std::string Find_entry(const std::string& dir, const std::string& component) {
  std::string wanted = Fold_case(Utf8_to_cp1252(component));
  DIR* d = ::opendir(dir.empty() ? "/" : dir.c_str());
  if (!d) return {};
  std::string found;
  int matches = 0;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    if (Same_name(name, wanted)) {
      // The exact spelling wins over other matches.
      if (name == component) {
        found = name;
        matches = 1;
        break;
      }
      found = name;
      ++matches;
    }
  }
  ::closedir(d);
  return matches == 1 ? found : std::string();
}

}  // namespace

std::string Resolve_native(const std::string& native_path) {
  if (native_path.empty() || Exists(native_path)) return native_path;
  std::vector<std::string> parts;
  size_t start = 1;
  while (start <= native_path.size()) {
    size_t slash = native_path.find('/', start);
    if (slash == std::string::npos) slash = native_path.size();
    if (slash > start) parts.push_back(native_path.substr(start, slash - start));
    start = slash + 1;
  }
  std::string resolved;
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string next = resolved + "/" + parts[i];
    if (!Exists(next)) {
      std::string entry = Find_entry(resolved, parts[i]);
      if (entry.empty()) return native_path;
      next = resolved + "/" + entry;
    }
    resolved = next;
  }
  return resolved.empty() ? native_path : resolved;
}

std::optional<std::string> Native_path(const std::string& windows_path) {
  auto literal = DriveTable::Global().Native_of(windows_path);
  if (!literal) return std::nullopt;
  return Resolve_native(*literal);
}

std::optional<std::string> Native_target_path(const std::string& windows_path) {
  return DriveTable::Global().Native_of(windows_path);
}

std::string Windows_path(const std::string& native_path) {
  return DriveTable::Global().Windows_of(native_path);
}

}  // namespace zendrel
