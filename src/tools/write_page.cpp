// Writes an archive.htm from records given as text, with the page's own
// writers: for the page's browser tests and benchmarks.
//
//   write_page RECORDS.tsv OUT.htm
//
// One record a line, ten tab-separated fields in record order (thumb, file,
// path, source, title, subject, category, comment, author, picdate), UTF-8.
// Inside a field "%25", "%09", "%0D" and "%0A" stand for "%", tab, carriage
// return and line feed; `path` is given in its stored form.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "page/page_head.h"
#include "page/page_tail.h"
#include "page/record_line.h"
#include "platform/codepage.h"
#include "platform/native_path.h"
#include "platform/output_file.h"

namespace {

std::string Decode_field(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    std::string code = field.substr(i, 3);
    if (code == "%25")
      out += '%';
    else if (code == "%09")
      out += '\t';
    else if (code == "%0D")
      out += '\r';
    else if (code == "%0A")
      out += '\n';
    else {
      out += field[i];
      continue;
    }
    i += 2;
  }
  return zendrel::Utf8_to_system_text(out);
}

bool Parse_record(const std::string& line, zendrel::ArchiveRecord& record) {
  std::vector<std::string> values;
  size_t start = 0;
  while (true) {
    size_t tab = line.find('\t', start);
    if (values.size() >= 10) return false;
    values.push_back(Decode_field(line.substr(start, tab - start)));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  record = zendrel::Archive_record(values);
  return values.size() == 10;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: write_page RECORDS.tsv OUT.htm\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "write_page: %s: cannot be read\n", argv[1]);
    return 1;
  }
  std::error_code ec;
  std::string target = std::filesystem::absolute(argv[2], ec).string();
  zendrel::DriveTable drives;
  drives.Set('C', "/");  // the target is named by its native path alone
  zendrel::OutputFile page;
  zendrel::Status opened = page.Open(drives, zendrel::Windows_path(drives, target));
  if (!opened.ok()) {
    std::fprintf(stderr, "write_page: %s\n", opened.message().c_str());
    return 1;
  }
  zendrel::Write_page_head(page);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    zendrel::ArchiveRecord record;
    if (!Parse_record(line, record)) {
      std::fprintf(stderr, "write_page: %s: line %d does not hold ten fields\n", argv[1], number);
      return 1;
    }
    zendrel::Write_record_line(page, record);
  }
  zendrel::Write_page_tail(page);
  zendrel::Status committed = page.Commit();
  if (!committed.ok()) {
    std::fprintf(stderr, "write_page: %s\n", committed.message().c_str());
    return 1;
  }
  return 0;
}
