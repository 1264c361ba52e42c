// File operations on Windows-style paths, through the drive table given and
// the case-insensitive lookup. Names go in and come out in the system's text.
// Safe to call from any thread.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "platform/drive_table.h"
#include "platform/status.h"

namespace zendrel {

enum class ListFilter {
  kPlainFiles,   // no directories, no hidden files (names beginning with ".")
  kDirectories,  // no hidden directories either
};

bool File_exists(const DriveTable& drives, const std::string& path);  // any kind of entry
// A regular, not hidden, file.
bool Plain_file_exists(const DriveTable& drives, const std::string& path);
bool Directory_exists(const DriveTable& drives, const std::string& path);

// Last modification, local time, to the second.
std::optional<std::tm> Modified_time(const DriveTable& drives, const std::string& path);

// Copies byte for byte through a private temporary file that replaces `to`
// (written under exactly its name) only when complete, keeping the
// original's modification time. A failure leaves `to` as it was.
Status Copy_file(const DriveTable& drives, const std::string& from, const std::string& to);
// The same, with the target's native path already found; `to` names it in
// messages.
Status Copy_file_to(const DriveTable& drives, const std::string& from, const std::string& native_to,
                    const std::string& to);
// Whether two native files hold the same bytes.
Status Files_hold_same_bytes(const std::string& native_a, const std::string& native_b, bool* same);
Status Rename_file(const DriveTable& drives, const std::string& from, const std::string& to);
Status Delete_file(const DriveTable& drives, const std::string& path);
Status Read_whole_file(const DriveTable& drives, const std::string& path, std::string* bytes);

// Names in `directory` matching `pattern` ("*.jpg", without regard to case),
// sorted by name without regard to case (as Windows lists them). With
// `dangling`, the names of symbolic links that lead nowhere go there.
Status List_directory(const DriveTable& drives, const std::string& directory,
                      const std::string& pattern, ListFilter filter,
                      std::vector<std::string>* names,
                      std::vector<std::string>* dangling = nullptr);

// The directory that holds the program file, symbolic links followed, in
// its Windows view (no trailing "\" unless a root).
std::string Program_directory(const DriveTable& drives);
// The same, native.
std::string Program_directory_native();

}  // namespace zendrel
