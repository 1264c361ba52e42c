#include "page/archive_page_reader.h"

#include <string_view>

#include "page/record_line.h"
#include "platform/catalogue_file.h"

namespace zendrel {
namespace {

constexpr size_t kMaxRecordText = 32767;  // positions in a record text are 16-bit

// Splits the page into lines; CR LF, a lone CR and a lone LF each end one.
class LineCursor {
 public:
  explicit LineCursor(std::string_view bytes) : bytes_(bytes) {}
  bool at_end() const { return position_ >= bytes_.size(); }
  std::string_view Next() {
    size_t start = position_;
    size_t end = bytes_.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes_.size();
    position_ = end;
    if (position_ < bytes_.size() && bytes_[position_] == '\r') ++position_;
    if (position_ < bytes_.size() && bytes_[position_] == '\n') ++position_;
    return bytes_.substr(start, end - start);
  }

 private:
  std::string_view bytes_;
  size_t position_ = 0;
};

Status Open_failure(const std::string& page, const CatalogueFile& file,
                    CatalogueFile::Result result) {
  if (result == CatalogueFile::Result::kInUse)
    return Status::FileError(page, "the page is open for writing in another program");
  return Status::FileError(page, Errno_text(file.error_number()));
}

}  // namespace

Status Read_archive_page(const std::string& directory, RecordTable& table) {
  table.Clear();
  table.Set_directory(directory);
  const std::string page = directory + "archive.htm";
  CatalogueFile file;
  CatalogueFile::Result opened = file.Open(page);
  if (opened != CatalogueFile::Result::kOpened) return Open_failure(page, file, opened);
  return Read_page_records(file.bytes(), page, table);
}

Status Read_page_records(const std::string& bytes, const std::string& page, RecordTable& table) {
  LineCursor lines(bytes);
  int record = 0;
  while (!lines.at_end()) {
    std::string_view line = lines.Next();
    if (line.substr(0, 7) != "cat.add") continue;
    std::string text(line);
    for (int joined = 0; joined < 4 && !lines.at_end(); ++joined) text += lines.Next();
    if (record == RecordTable::kMaxRecords)
      return Status::FileError(page, "more than " + std::to_string(RecordTable::kMaxRecords) +
                                         " records, the most the editor can hold");
    ++record;
    if (text.size() > kMaxRecordText)
      return Status::FileError(page, "record " + std::to_string(record) + " is longer than " +
                                         std::to_string(kMaxRecordText) + " characters");
    std::vector<std::string> values = Split_record_text(text);
    if (values.size() > size_t(RecordTable::kFields))
      return Status::FileError(page,
                               "record " + std::to_string(record) + " has more than ten values");
    for (size_t field = 0; field < values.size(); ++field)
      table.Set(record, int(field) + 1, values[field]);
  }
  return Status();
}

}  // namespace zendrel
