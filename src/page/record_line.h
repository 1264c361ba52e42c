// The picture record line: one statement of the page's script that adds a
// picture to the catalogue `cat`, over five physical lines, two quoted values
// a line:
//
//   cat.add (new Pic ("thumb", "file",
//     "path", "source",
//     "title", "subject",
//     "category", "comment",
//     "author", "picdate"));
#pragma once

#include <array>
#include <string>
#include <vector>

#include "page/record_table.h"
#include "platform/output_file.h"

namespace zendrel {

// The record of the values a page's record holds, in the line's order
// (missing ones empty, more than ten ignored).
ArchiveRecord Archive_record(const std::vector<std::string>& values);

// The five lines, without line ends; every value goes through
// Safe_script_value first. `path` is written as it is held, backslashes
// doubled.
std::array<std::string, 5> Record_lines(const ArchiveRecord& record);
// Writes the record's lines after the page's head (Write_page_head) and the
// records before it; after every thousandth record a script element ends and
// the next begins.
void Write_record_line(OutputFile& page, const ArchiveRecord& record);

// The reading rule: the texts between the first and second double quote,
// the third and fourth, and so on, of a record's joined text.
std::vector<std::string> Split_record_text(const std::string& joined);

// The header of archive.txt as the editor and the master write it: eight
// labels for the eight columns of each line.
inline constexpr char kRecordStagingHeader[] =
    "SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tSource\tDate";

// The archive.txt line of one stored record: source file (path and source
// with the page's doubled backslashes undone), title to picdate, thumb.
std::string Staging_line(const ArchiveRecord& record);

// Doubles every backslash: the stored form of a directory in `path`.
std::string Double_backslashes(const std::string& text);
// Undoes Double_backslashes, for archive.txt.
std::string Single_backslashes(const std::string& text);

}  // namespace zendrel
