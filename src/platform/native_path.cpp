#include "platform/native_path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <vector>

#include "platform/codepage.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// One character of the system's text at `i`: a byte, or a whole reference
// to a character that Windows-1252 cannot hold.
size_t Character_length(const std::string& text, size_t i) {
  char32_t cp = 0;
  size_t len = Character_reference_at(text, i, &cp);
  return len > 0 ? len : 1;
}

// Compares a native name with a wanted component in folded system text. A "?"
// stands for any one character: catalogues written by older programs hold it
// where a character was lost, and Windows names never hold a "?" of their own.
bool Same_name(const std::string& native_name, const std::string& wanted_folded) {
  std::string folded = Fold_case(Utf8_to_system_text(native_name));
  size_t i = 0;
  size_t k = 0;
  for (; i < folded.size() && k < wanted_folded.size(); ++k) {
    if (wanted_folded[k] == '?') {
      i += Character_length(folded, i);
      continue;
    }
    if (wanted_folded[k] != folded[i]) return false;
    ++i;
  }
  return i == folded.size() && k == wanted_folded.size();
}

// The one entry of `dir` that matches `component`; empty when none or several.
std::string Find_entry(const std::string& dir, const std::string& component) {
  std::string wanted = Fold_case(Utf8_to_system_text(component));
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

std::optional<std::string> Native_path(const DriveTable& drives, const std::string& windows_path) {
  auto literal = drives.Native_of(windows_path);
  if (!literal) return std::nullopt;
  return Resolve_native(*literal);
}

std::optional<std::string> Native_target_path(const DriveTable& drives,
                                              const std::string& windows_path) {
  return drives.Native_of(windows_path);
}

std::string Windows_path(const DriveTable& drives, const std::string& native_path) {
  return drives.Windows_of(native_path);
}

}  // namespace zendrel
