// Archive pages for tests, written as a build writes them: the page head,
// one record line per record, the page tail.
#pragma once

#include <string>
#include <vector>

#include "page/record_line.h"

namespace zendrel::testing {

// Record `i` (from 1) of a made-up archive: thumb "_000000<i>.jpg"-like
// names, a doubled-backslash path, dates in the stored form.
ArchiveRecord Sample_record(int i);
std::vector<ArchiveRecord> Sample_records(int count);

// Writes `directory` + "archive.htm" (Windows view through Root_drives(),
// `directory` ending in "\"); fails the test when it cannot.
void Write_archive_page(const std::string& directory, const std::vector<ArchiveRecord>& records);

// The page's lines that belong to record lines (from the first line that
// begins with "cat.add", five lines per record).
std::vector<std::string> Record_lines_of(const std::string& page_bytes);

}  // namespace zendrel::testing
