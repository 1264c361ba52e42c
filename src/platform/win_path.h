// Windows-style path text, as catalogues, pages and archive.txt store paths
// (C:\Photos\1999\a.jpg). Pure text functions; no file is touched.
#pragma once

#include <string>

namespace zendrel {

// Makes a directory path end in "\" before a file name is appended. The
// empty path gives "\".
std::string Add_backslash(const std::string& path);

// The text before the last "\" (empty when there is none).
std::string Directory_part(const std::string& path);

// The text after the last "\" (all of it when there is none).
std::string File_part(const std::string& path);

// Lower-cases ASCII and the Windows-1252 letters, as Windows compares names.
std::string Fold_case(const std::string& text);

// Windows' "*" and "?" pattern, matched without regard to case.
bool Matches_pattern(const std::string& name, const std::string& pattern);

}  // namespace zendrel
