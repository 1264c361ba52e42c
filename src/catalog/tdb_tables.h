// The paged tables of a ThumbsPlus V3 database, read in place: the two
// 4-byte integer readers, and a table cursor that finds record i by walking
// the table's chain of pages. Layout: tdb_format.md. All reads go through a
// ByteReader, so damage ends in its error instead of a read outside the
// file. One cursor per table and reading; not thread-safe.
#pragma once

#include <cstdint>
#include <string>

#include "catalog/byte_reader.h"

namespace zendrel {

// The 4-byte integer at `position`, least significant byte first (-1 when
// its top bit is set).
int32_t Read_QuadRev(ByteReader& file, int64_t position);
// The same, most significant byte first.
int32_t Read_Quad(ByteReader& file, int64_t position);

class TableCursor {
 public:
  // `anchor`: the fixed position that points to the table's header; `name`
  // names the table in failure messages ("picture table").
  TableCursor(ByteReader& file, int64_t anchor, int entry_size, const char* name)
      : file_(file), anchor_(anchor), entry_size_(entry_size), name_(name) {}

  // Reads the header and the first page; false when the file is damaged.
  bool Open();
  int64_t count() const { return count_; }
  ByteReader& file() { return file_; }
  // Position of record `index`'s data (0 on damage, with the error set).
  int64_t Record_position(int64_t index);

 private:
  bool Next_page();
  void Damaged(const std::string& cause);

  ByteReader& file_;
  int64_t anchor_;
  int entry_size_;
  const char* name_;
  bool opened_ = false;
  int64_t count_ = 0;
  int64_t page_ = 0;
  int64_t first_ = 0;         // index of the first record on the current page
  int64_t last_ = -1;         // index of the last; below first_ on an empty page
  int64_t pages_walked_ = 0;  // since the first page, to notice a chain that loops
};

// Kind 1: the BE32 at record + offset; kind -1: the LE32 there; kind 0 only
// opens the cursor and gives 0. An index outside the table gives 0.
int32_t Read_Field(TableCursor& table, int64_t index, int offset, int kind);
// A text field of `size` bytes at record + offset.
std::string Read_Field_text(TableCursor& table, int64_t index, int offset, int size);

}  // namespace zendrel
