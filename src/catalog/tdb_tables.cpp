#include "catalog/tdb_tables.h"

namespace zendrel {
namespace {

// Header and page offsets of a table (tdb_format.md).
constexpr int kCountOffset = 24;
constexpr int kFirstPageOffset = 72;
constexpr int kNextPageOffset = 0;
constexpr int kEntriesOnPageOffset = 8;
constexpr int kFirstEntryOffset = 18;

}  // namespace

int32_t Read_QuadRev(ByteReader& file, int64_t position) {
  return file.Le32(position, "4-byte value");
}

int32_t Read_Quad(ByteReader& file, int64_t position) {
  return file.Be32(position, "4-byte value");
}

void TableCursor::Damaged(const std::string& cause) {
  file_.Fail(std::string("the ") + name_ + " " + cause);
}

bool TableCursor::Open() {
  int64_t header = file_.Le32(anchor_, "pointer to a table");
  int32_t count = file_.Le32(header + kCountOffset, "record count of a table");
  if (!file_.ok()) return false;
  if (count < 0) {
    Damaged("has a negative record count");
    return false;
  }
  // Every record needs an entry on some page: a count beyond that is damage,
  // and stopping here keeps a huge count from driving a long page walk.
  if (int64_t(count) * entry_size_ > file_.size()) {
    Damaged("claims " + std::to_string(count) + " records, more than the file could hold");
    return false;
  }
  count_ = count;
  first_ = 0;
  last_ = -1;
  pages_walked_ = 0;
  if (count_ > 0) {
    page_ = file_.Le32(header + kFirstPageOffset, "first page of a table");
    last_ = file_.Byte(page_ + kEntriesOnPageOffset, "entry count of a page") - 1;
  }
  opened_ = file_.ok();
  return opened_;
}

bool TableCursor::Next_page() {
  // A healthy chain visits each page once, and a page takes at least its
  // header's bytes, so more steps than that mean the chain runs in a circle.
  if (++pages_walked_ > file_.size() / kFirstEntryOffset + 1) {
    Damaged("has a chain of pages that loops back on itself");
    return false;
  }
  page_ = file_.Le32(page_ + kNextPageOffset, "pointer to the next page");
  first_ = last_ + 1;
  last_ = first_ + file_.Byte(page_ + kEntriesOnPageOffset, "entry count of a page") - 1;
  return file_.ok();
}

int64_t TableCursor::Record_position(int64_t index) {
  if (!opened_ || index < first_) {
    if (!Open()) return 0;
  }
  while (index > last_) {
    if (!Next_page()) return 0;
  }
  int64_t entry = page_ + kFirstEntryOffset + (index - first_) * entry_size_;
  return file_.Le32(entry, "pointer to a record");
}

int32_t Read_Field(TableCursor& table, int64_t index, int offset, int kind) {
  if (kind == 0) {
    table.Open();
    return 0;
  }
  if (index < 0 || index >= table.count()) return 0;
  int64_t record = table.Record_position(index);
  if (!table.file().ok()) return 0;
  if (kind == -1) return table.file().Le32(record + offset, "field of a record");
  return table.file().Be32(record + offset, "field of a record");
}

std::string Read_Field_text(TableCursor& table, int64_t index, int offset, int size) {
  if (index < 0 || index >= table.count()) return {};
  int64_t record = table.Record_position(index);
  if (!table.file().ok()) return {};
  return table.file().Field_text(record + offset, size, "text of a record");
}

}  // namespace zendrel
