#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "platform/drive_table.h"

namespace zendrel::cli {

// zendrel build --source DIR --dest DIR | --catalog FILE --dest DIR [--source DIR]
//               [--copy no|keep|rename] [--drive L=DIR[:LABEL]]...
int Build_command(const std::vector<std::string>& args, Streams& io);

// Applies --drive options to `table`; false (with a message) when one is
// malformed.
bool Apply_drive_options(const std::vector<std::string>& drives, DriveTable& table, Streams& io);

// A native or Windows-view path given on the command line, in its Windows
// view through `drives` (native paths are made absolute first).
std::string Windows_view(const DriveTable& drives, const std::string& path);

// The Windows view of a directory given on the command line, checked to
// name exactly that directory: a view that maps back to another name (a
// character the system's text cannot hold) is refused with a message in
// `error`, so that no lookup ever takes a similar directory for it.
std::optional<std::string> Exact_windows_view(const DriveTable& drives, const std::string& path,
                                              std::string* error);

}  // namespace zendrel::cli
