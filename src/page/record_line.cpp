#include "page/record_line.h"

#include "page/script_value.h"

namespace zendrel {

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
