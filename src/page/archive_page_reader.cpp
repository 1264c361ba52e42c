#include "page/archive_page_reader.h"

#include "page/page_records.h"
#include "page/record_line.h"

namespace zendrel {

Status Read_archive_page(const DriveTable& drives, const std::string& directory,
                         RecordTable& table) {
  table.Clear();
  table.Set_directory(directory);
  const std::string page = directory + "archive.htm";
  std::string bytes;
  if (Status read = Read_page_bytes(drives, page, &bytes); !read.ok()) return read;
  return Read_page_records(bytes, page, table);
}

Status Read_page_records(const std::string& bytes, const std::string& page, RecordTable& table) {
  return For_each_page_record(bytes, page, [&](int record, const std::vector<std::string>& values) {
    if (record > RecordTable::kMaxRecords)
      return Status::FileError(page, "more than " + std::to_string(RecordTable::kMaxRecords) +
                                         " records, the most the editor can hold");
    *table.Change(record) = Archive_record(values);
    return Status();
  });
}

}  // namespace zendrel
