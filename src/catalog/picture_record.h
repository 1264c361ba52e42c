// PictureRecord: the seven texts of one picture as a source delivers it, and
// PictureSink: where a source delivers them.
#pragma once

#include <cstdint>
#include <string>

#include "catalog/file_kinds.h"

namespace zendrel {

struct PictureRecord {
  std::string SourceFile;  // path as the source knows it: directory, "\", file name
  std::string Title;
  std::string Subject;
  std::string Category;
  std::string Comment;
  std::string Author;
  std::string Date;  // display text, "mmmm d, yyyy" from file dates
};

// A run takes pictures through this; readers and fuzzers feed it.
class PictureSink {
 public:
  virtual ~PictureSink() = default;
  // Picture processing of one record; the record is not changed.
  virtual void Add_picture(const PictureRecord& record) = 0;
  // The stop request, read by a source after each picture or line.
  virtual bool Stop_requested() = 0;
  // A file of the source that is no picture, left out of the archive.
  virtual void File_left_out(const std::string& /*file*/, LeftOut /*kind*/) {}
  // How many pictures the source will deliver, where it knows beforehand
  // (a listed directory); shown as progress.
  virtual void Expect_pictures(int32_t /*total*/) {}
};

}  // namespace zendrel
