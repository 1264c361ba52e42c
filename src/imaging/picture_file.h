// Reading a picture file into memory and writing an output picture whole or
// not at all. Native paths. Safe on any thread.
#pragma once

#include <cstddef>
#include <string>

#include "imaging/read_problem.h"

namespace zendrel {

// Reads a regular file (not a directory, a device or a pipe: those are
// refused without blocking) of at most `max_bytes`. False when it cannot,
// with the reason in `problem`.
bool Read_picture_file(const std::string& path, size_t max_bytes, std::string* bytes,
                       ReadProblem* problem = nullptr);

// What kind of picture the file at `path` holds, from its first bytes, with
// kNone; or why it cannot be a picture read here: missing, no permission,
// empty, no picture, or a kind that is not decoded.
ReadProblem Picture_file_problem(const std::string& path);

// Writes `size` bytes to a private temporary file beside `path` and renames
// it over `path`. Returns the cause of a failure (the system's text), or an
// empty string on success; on failure the temporary is removed and `path`
// is left as it was.
std::string Write_whole_file(const std::string& path, const void* data, size_t size);

}  // namespace zendrel
