// Tab-delimited text catalogue (also the layout of the archive's own
// archive.txt): one picture per line, seven positional columns, an optional
// header line first.
#include "catalog/read_textcat.h"

#include <array>

#include "catalog/text_lines.h"

namespace zendrel {
namespace {

// Columns past the eighth, like the eighth itself, carry nothing a picture
// needs; they are ignored rather than refusing the line.
constexpr size_t kFieldsUsed = 8;

std::array<std::string, kFieldsUsed> Split_tabs(const std::string& line) {
  std::array<std::string, kFieldsUsed> fields;
  size_t start = 0;
  for (size_t n = 0; n < kFieldsUsed; ++n) {
    size_t tab = line.find('\t', start);
    fields[n] = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
    Strip_enclosing_quotes(&fields[n]);
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return fields;
}

// The fields of one line; the source file stays empty for a line that
// names no picture (the header, a blank line).
std::array<std::string, kFieldsUsed> Picture_fields(const std::string& line, bool first_line) {
  auto fields = Split_tabs(line);
  if (first_line && fields[0] == "SourceFile") fields[0].clear();
  return fields;
}

// The catalogue is in memory: counting first costs little and gives the
// progress its total.
int32_t Count_pictures(const std::string& bytes) {
  TextLines lines(bytes);
  std::string line;
  int32_t count = 0;
  for (bool first_line = true; lines.Next(&line); first_line = false)
    count += !Picture_fields(line, first_line)[0].empty();
  return count;
}

}  // namespace

Status Read_textcat(const std::string& bytes, PictureSink& sink) {
  // Text holds no NUL byte: such a file (a picture, a database named .txt)
  // is no catalogue, and its lines would only be noise.
  if (bytes.find('\0') != std::string::npos)
    return Status::Error("is not a tab-delimited text catalogue: it holds binary data");
  sink.Expect_pictures(Count_pictures(bytes));
  TextLines lines(bytes);
  std::string line;
  for (bool first_line = true; lines.Next(&line); first_line = false) {
    auto fields = Picture_fields(line, first_line);
    if (!fields[0].empty()) {
      sink.Add_picture(
          {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]});
    }
    if (sink.Stop_requested()) break;
  }
  return Status();
}

}  // namespace zendrel
