#include "page/page_records.h"

#include <string_view>

#include "page/record_line.h"
#include "platform/catalogue_file.h"

namespace zendrel {
namespace {

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

bool Starts_record(std::string_view line) { return line.substr(0, 7) == "cat.add"; }

// The first line of the script that follows the records.
constexpr std::string_view kTailStart = "var pickedItem;";

}  // namespace

Status Read_page_bytes(const DriveTable& drives, const std::string& page, std::string* bytes) {
  CatalogueFile file;
  CatalogueFile::Result opened = file.Open(drives, page);
  if (opened == CatalogueFile::Result::kInUse)
    return Status::FileError(page, "the page is open for writing in another program");
  if (!file.refusal().empty()) return Status::Error(file.refusal());
  if (opened != CatalogueFile::Result::kOpened)
    return Status::FileError(page, Errno_text(file.error_number()));
  *bytes = file.bytes();
  return Status();
}

Status For_each_page_record(
    const std::string& bytes, const std::string& page,
    const std::function<Status(int record, const std::vector<std::string>& values)>& visit) {
  LineCursor lines(bytes);
  int record = 0;
  bool tail_follows = false;
  auto damaged = [&](const std::string& cause) {
    return Status::FileError(page, "the page is damaged: reading stopped at record " +
                                       std::to_string(record) + ", " + cause);
  };
  while (!lines.at_end()) {
    std::string_view line = lines.Next();
    if (line == kTailStart) tail_follows = true;
    if (!Starts_record(line)) continue;
    ++record;
    if (tail_follows) return damaged("which stands after the page's tail");
    std::string text(line);
    for (int joined = 0; joined < 4; ++joined) {
      if (lines.at_end()) return damaged("as the page ends inside it");
      std::string_view next = lines.Next();
      if (Starts_record(next)) return damaged("as the next record begins inside it");
      text += next;
    }
    std::vector<std::string> values = Split_record_text(text);
    if (values.size() > 10) return damaged("as it has more than ten values");
    if (values.size() < 10 || text.size() < 3 || text.compare(text.size() - 3, 3, "));") != 0)
      return damaged("as it is not complete");
    if (values[0].empty()) return damaged("as it has no thumbnail name");
    if (Status visited = visit(record, values); !visited.ok()) return visited;
  }
  if (!tail_follows) return damaged("as the page ends before its tail");
  return Status();
}

}  // namespace zendrel
