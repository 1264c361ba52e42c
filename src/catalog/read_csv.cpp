// ThumbsPlus V4 export: one picture per comma-separated line; the volume
// label in the first column is turned into the drive that carries it now.
#include "catalog/read_csv.h"

#include <array>

#include "catalog/picture_dates.h"
#include "catalog/text_lines.h"

namespace zendrel {
namespace {

// Columns past the 24th are ignored: the export's known columns are read
// and the line is not refused.
constexpr size_t kFields = 24;

// A comma ends a field only when the quotes since the field's start are
// even, so commas inside a quoted stretch stay in the field. The quotes
// are counted as the scan goes, keeping a long line linear.
std::array<std::string, kFields> Split_commas(const std::string& line) {
  std::array<std::string, kFields> fields;
  size_t start = 0;
  for (size_t n = 0; n < kFields; ++n) {
    size_t quotes = 0, end = start;
    while (end < line.size() && !(line[end] == ',' && quotes % 2 == 0)) {
      if (line[end] == '"') ++quotes;
      ++end;
    }
    fields[n] = line.substr(start, end - start);
    Strip_enclosing_quotes(&fields[n]);
    if (end >= line.size()) break;
    start = end + 1;
  }
  return fields;
}

}  // namespace

Status Read_csv(const std::string& bytes, PictureSink& sink, LabelDriveTable& labels,
                const DriveTable& drives) {
  TextLines lines(bytes);
  std::string line;
  bool header_pending = true;
  PictureDates dates(drives);
  while (lines.Next(&line)) {
    auto f = Split_commas(line);
    if (header_pending && f[0] == "Label") {
      header_pending = false;
    } else {
      PictureRecord record;
      record.SourceFile = Find_LabelDrive(labels, f[0], drives) + ":\\" + f[5] + "\\" + f[21];
      record.Subject = f[23];
      record.Comment = f[22];
      record.Date = dates.Date_of(record.SourceFile);
      sink.Add_picture(record);
    }
    if (sink.Stop_requested()) break;
  }
  return Status();
}

}  // namespace zendrel
