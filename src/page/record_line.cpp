#include "page/record_line.h"

#include "page/page_head.h"
#include "page/script_value.h"

namespace zendrel {
namespace {

// A browser holds the text of one script element as one string, and WebKit
// copies all of it again for each piece of the file that arrives: one script
// of 50,000 records took it a minute to read. So the records stand in script
// elements of this many; the lines between them begin with "<", never with
// "cat.add", and readers pass over them.
constexpr long long kRecordsPerScript = 1000;

}  // namespace

ArchiveRecord Archive_record(const std::vector<std::string>& values) {
  ArchiveRecord r;
  std::string* fields[] = {&r.thumb,   &r.file,     &r.path,    &r.source, &r.title,
                           &r.subject, &r.category, &r.comment, &r.author, &r.picdate};
  for (size_t i = 0; i < values.size() && i < std::size(fields); ++i) *fields[i] = values[i];
  return r;
}

std::array<std::string, 5> Record_lines(const ArchiveRecord& r) {
  auto q = [](const std::string& value) { return "\"" + Safe_script_value(value) + "\""; };
  return {"cat.add (new Pic (" + q(r.thumb) + ", " + q(r.file) + ",",
          "  " + q(r.path) + ", " + q(r.source) + ",",
          "  " + q(r.title) + ", " + q(r.subject) + ",",
          "  " + q(r.category) + ", " + q(r.comment) + ",",
          "  " + q(r.author) + ", " + q(r.picdate) + "));"};
}

void Write_record_line(OutputFile& page, const ArchiveRecord& record) {
  // Counted from the page's lines, so that every writer cuts at the same
  // records without keeping a count of its own.
  static const long long head_lines = static_cast<long long>(Page_head_lines().size());
  const long long block_lines = 5 * kRecordsPerScript + 2;
  const long long after_head = page.lines_written() - head_lines;
  if (after_head > 0 && after_head % block_lines == 5 * kRecordsPerScript) {
    page.Write_line("</script>");
    page.Write_line(R"(<script language="JavaScript">)");
  }
  for (const std::string& line : Record_lines(record)) page.Write_line(line);
}

std::vector<std::string> Split_record_text(const std::string& joined) {
  std::vector<std::string> values;
  size_t position = 0;
  while (position < joined.size()) {
    size_t open = joined.find('"', position);
    if (open == std::string::npos || open + 1 >= joined.size()) break;
    size_t close = joined.find('"', open + 1);
    if (close == std::string::npos) break;
    values.push_back(joined.substr(open + 1, close - open - 1));
    position = close + 1;
  }
  return values;
}

std::string Staging_line(const ArchiveRecord& r) {
  std::string line = Safe_staging_value(Single_backslashes(r.path + "\\" + r.source));
  for (const std::string* field :
       {&r.title, &r.subject, &r.category, &r.comment, &r.author, &r.picdate}) {
    line += "\t" + Safe_staging_value(*field);
  }
  return line + "\t" + Safe_staging_value(r.thumb);
}

std::string Double_backslashes(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '\\') out += '\\';
  }
  return out;
}

std::string Single_backslashes(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') ++i;
  }
  return out;
}

}  // namespace zendrel
