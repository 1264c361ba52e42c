#include "support/archive_page.h"

#include <gtest/gtest.h>

#include "page/page_head.h"
#include "page/page_tail.h"
#include "platform/output_file.h"
#include "support/temp_dir.h"

namespace zendrel::testing {

ArchiveRecord Sample_record(int i) {
  std::string n = std::to_string(i);
  return {"_ABC" + std::string(3 - std::min<size_t>(3, n.size()), '0') + n + ".jpg",
          "",
          "C:\\\\Photos\\\\" + n,
          "pic" + n + ".jpg",
          "Title " + n,
          "beach sea",
          "Holiday",
          "Comment " + n,
          "Ann",
          "December " + std::to_string(1 + i % 28) + ", 1999"};
}

std::vector<ArchiveRecord> Sample_records(int count) {
  std::vector<ArchiveRecord> records;
  for (int i = 1; i <= count; ++i) records.push_back(Sample_record(i));
  return records;
}

void Write_archive_page(const std::string& directory, const std::vector<ArchiveRecord>& records) {
  OutputFile page;
  ASSERT_TRUE(page.Open(Root_drives(), directory + "archive.htm").ok());
  Write_page_head(page);
  for (const ArchiveRecord& record : records) Write_record_line(page, record);
  Write_page_tail(page);
  ASSERT_TRUE(page.Commit().ok());
}

std::vector<std::string> Record_lines_of(const std::string& page_bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < page_bytes.size()) {
    size_t end = page_bytes.find("\r\n", start);
    if (end == std::string::npos) end = page_bytes.size();
    lines.push_back(page_bytes.substr(start, end - start));
    start = end + 2;
  }
  std::vector<std::string> records;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind("cat.add", 0) != 0) continue;
    for (size_t k = i; k < i + 5 && k < lines.size(); ++k) records.push_back(lines[k]);
    i += 4;
  }
  return records;
}

}  // namespace zendrel::testing
