// Finding a Windows path's file on the native file system. Catalogues written
// on Windows name files without regard to case; when a path does not exist as
// written, it is looked up component by component without regard to case.
// A "?" that an older catalogue holds for a lost character matches any one
// character of a native name; the match must then be the only one.
#pragma once

#include <optional>
#include <string>

#include "platform/drive_table.h"

namespace zendrel {

// The native path of `windows_path` through `drives`: the
// existing file when one matches, otherwise the literal mapping (for a file
// still to be made). Empty when the drive letter is unknown.
std::optional<std::string> Native_path(const DriveTable& drives, const std::string& windows_path);

// The native path of a file to be written: the literal mapping, never
// looked up, so that a name alike but for case, or for a character the
// system's text cannot hold, is never taken for the one asked for. Empty
// when the drive letter is unknown.
std::optional<std::string> Native_target_path(const DriveTable& drives,
                                              const std::string& windows_path);

// Looks up an existing native path without regard to case; the literal path
// when nothing matches or several names would match.
std::string Resolve_native(const std::string& native_path);

// The Windows view of a native path through `drives`.
std::string Windows_path(const DriveTable& drives, const std::string& native_path);

}  // namespace zendrel
