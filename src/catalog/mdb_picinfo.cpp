#include "catalog/mdb_picinfo.h"

#include <mdbtools.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/codepage.h"
#include "platform/dates.h"

namespace zendrel {
namespace {

constexpr char kTable[] = "GA_PicInfo";
constexpr int kRowOffsetMask = 0x1fff;  // row offsets carry flags in their top bits

enum Column { kSource, kName, kData1, kData2, kDescription, kMemo1, kDateCreated, kColumns };
constexpr std::array<const char*, kColumns> kColumnNames = {
    "Source", "Name", "DATA1", "DATA2", "Description", "MEMO1", "DateCreated"};

struct Closer {
  void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
  void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};

// libmdb hands text over as UTF-8 (converted from the database's code page).
std::string Text_of(MdbHandle* mdb, const char* raw, size_t length) {
  // One stored byte becomes at most three bytes of UTF-8, also through the
  // two-byte units of newer databases.
  std::vector<char> utf8(length * 3 + 16);
  int n = mdb_unicode2ascii(mdb, raw, length, utf8.data(), utf8.size());
  return Utf8_to_system_text(std::string(utf8.data(), n > 0 ? size_t(n) : 0));
}

MdbCatalogEntry* Find_table(MdbHandle* mdb, std::string* other_case) {
  for (unsigned i = 0; i < mdb->num_catalog; ++i) {
    auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (entry->object_type != MDB_TABLE) continue;
    // libmdb's own lookup ignores letter case; the catalogue's does not.
    if (std::strcmp(entry->object_name, kTable) == 0) return entry;
    if (g_ascii_strcasecmp(entry->object_name, kTable) == 0) *other_case = entry->object_name;
  }
  return nullptr;
}

int Find_column(MdbTableDef* table, const char* name) {
  int loose = -1;
  for (unsigned i = 0; i < table->num_cols; ++i) {
    auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
    if (std::strcmp(column->name, name) == 0) return int(i);
    // Field names are looked up by the engine, which ignores their case.
    if (loose < 0 && g_ascii_strcasecmp(column->name, name) == 0) loose = int(i);
  }
  return loose;
}

// A data page that a table's page map names beyond the end of the file
// means the file was cut short; libmdb would just end the table there.
bool Pages_missing(MdbHandle* mdb, MdbTableDef* table) {
  struct stat info {};
  if (fstat(fileno(mdb->f->stream), &info) != 0) return false;
  guint32 pages = guint32(info.st_size / mdb->fmt->pg_size);
  gint32 page = 0;
  for (guint32 steps = 0; steps <= pages + 1; ++steps) {
    page = mdb_map_find_next(mdb, table->usage_map, table->map_sz, page);
    if (page <= 0) return false;
    if (guint32(page) >= pages) return true;
  }
  return false;
}

// Without GA_PicInfo: a table list cut short is the likelier story.
bool Catalogue_cut_short(MdbHandle* mdb) {
  char name[] = "MSysObjects";
  std::unique_ptr<MdbTableDef, Closer> objects(mdb_read_table_by_name(mdb, name, MDB_TABLE));
  return !objects || Pages_missing(mdb, objects.get());
}

class PicInfoReader {
 public:
  PicInfoReader(MdbHandle* mdb, MdbTableDef* table, const PicInfoCallbacks& callbacks)
      : mdb_(mdb), table_(table), callbacks_(callbacks) {}

  Status Read() {
    if (Status columns = Bind_columns(); !columns.ok()) return columns;
    if (Pages_missing(mdb_, table_))
      Damage("the file is truncated: pages of GA_PicInfo are missing");
    fields_.resize(table_->num_cols);
    mdb_rewind_table(table_);
    while (mdb_fetch_row(table_)) {
      ++row_number_;
      Deliver_row();
    }
    return {};
  }

 private:
  Status Bind_columns() {
    if (!mdb_read_columns(table_)) return Status::Error("the columns of GA_PicInfo cannot be read");
    for (int c = 0; c < kColumns; ++c) {
      index_[c] = Find_column(table_, kColumnNames[c]);
      if (index_[c] < 0)
        return Status::Error(std::string("the table GA_PicInfo has no column \"") +
                             kColumnNames[c] + "\"");
      buffers_[c].assign(std::max<size_t>(mdb_->bind_size, MDB_PGSIZE) + 1, '\0');
      mdb_bind_column(table_, index_[c] + 1, buffers_[c].data(), nullptr);
    }
    return {};
  }

  void Deliver_row() {
    int start = 0;
    size_t size = 0;
    if (mdb_find_row(mdb_, int(table_->cur_row) - 1, &start, &size) != 0 ||
        mdb_crack_row(table_, start & kRowOffsetMask, size, fields_.data()) <
            int(table_->num_cols)) {
      Damage("row " + std::to_string(row_number_) + " cannot be read");
      return;
    }
    if (Is_null(kSource)) return;
    PicInfoRow row;
    PictureRecord& r = row.record;
    r.SourceFile = Value(kSource);
    r.Title = Value(kName);
    r.Subject = Value(kData1);
    r.Category = Value(kData2);
    r.Comment = Value(kDescription);
    r.Author = Value(kMemo1);
    r.Date = Date_value();
    row.date_missing = r.Date.empty();
    callbacks_.row(row);
  }

  bool Is_null(Column c) const { return fields_[index_[c]].is_null; }
  MdbColumn* Column_of(Column c) const {
    return static_cast<MdbColumn*>(g_ptr_array_index(table_->columns, index_[c]));
  }

  std::string Value(Column c) {
    if (Is_null(c)) return {};
    if (Column_of(c)->col_type == MDB_MEMO) return Memo_value(c);
    size_t length = strnlen(buffers_[c].data(), buffers_[c].size());
    return Utf8_to_system_text(std::string(buffers_[c].data(), length));
  }

  // The whole memo through the long-value calls: a bound column stops at
  // bind_size bytes.
  std::string Memo_value(Column c) {
    const MdbField& field = fields_[index_[c]];
    if (field.siz < MDB_MEMO_OVERHEAD) return {};
    MdbColumn* column = Column_of(c);
    std::array<char, MDB_MEMO_OVERHEAD> header;
    std::memcpy(header.data(), mdb_->pg_buf + field.start, header.size());
    guint32 declared = guint32(mdb_get_int32(header.data(), 0));
    bool chained = (declared & 0xf0000000u) == 0;
    std::string raw;
    size_t got = mdb_ole_read(mdb_, column, header.data(), buffers_[c].size() - 1);
    raw.append(buffers_[c].data(), got);
    // A chain of pages ends with a null link; a damaged one may loop or run
    // on, so no more is read than the memo's stated length.
    while (chained && raw.size() < declared) {
      got = mdb_ole_read_next(mdb_, column, header.data());
      if (got == 0) break;
      raw.append(buffers_[c].data(), got);
    }
    if (chained && raw.size() != declared) {
      Damage("a memo of row " + std::to_string(row_number_) + " is incomplete");
      raw.resize(std::min<size_t>(raw.size(), declared));
    }
    return Text_of(mdb_, raw.data(), raw.size());
  }

  std::string Date_value() {
    if (Is_null(kDateCreated)) return {};
    const MdbField& field = fields_[index_[kDateCreated]];
    if (Column_of(kDateCreated)->col_type == MDB_DATETIME && field.siz == 8)
      return Access_date_text(mdb_get_double(mdb_->pg_buf, field.start));
    return Value(kDateCreated);
  }

  void Damage(const std::string& cause) {
    if (callbacks_.damage) callbacks_.damage(cause);
  }

  MdbHandle* mdb_;
  MdbTableDef* table_;
  const PicInfoCallbacks& callbacks_;
  std::array<int, kColumns> index_{};
  std::array<std::vector<char>, kColumns> buffers_;
  std::vector<MdbField> fields_;
  long row_number_ = 0;
};

}  // namespace

std::string Access_date_text(double value) {
  // January 1, 100 to December 31, 9999: what an Access date can hold.
  if (!std::isfinite(value) || value < -657434.0 || value >= 2958466.0) return {};
  // The whole part counts days (before 1899-12-30 when negative); the
  // fraction is the time of day either way.
  return Long_date_of_day_number(static_cast<int64_t>(std::trunc(value)));
}

Status Read_picinfo_rows(const std::string& native_path, const PicInfoCallbacks& callbacks) {
  std::unique_ptr<MdbHandle, Closer> mdb(mdb_open(native_path.c_str(), MDB_NOFLAGS));
  if (!mdb) return Status::Error("the file is not an Access database libmdb can open");
  if (!mdb_read_catalog(mdb.get(), MDB_ANY))
    return Status::Error(
        "the list of tables cannot be read (the database is damaged or encrypted)");
  std::string other_case;
  MdbCatalogEntry* entry = Find_table(mdb.get(), &other_case);
  if (!entry) {
    if (Catalogue_cut_short(mdb.get()))
      return Status::Error("the file is truncated: part of its list of tables is missing");
    if (!other_case.empty())
      return Status::Error("no table named GA_PicInfo (there is one named " +
                           Utf8_to_system_text(other_case) +
                           ", but the name must match in letter case)");
    return Status::Error("no table named GA_PicInfo: not a PhotoRecall database");
  }
  std::unique_ptr<MdbTableDef, Closer> table(mdb_read_table(entry));
  if (!table) return Status::Error("the table GA_PicInfo cannot be read (the database is damaged)");
  return PicInfoReader(mdb.get(), table.get(), callbacks).Read();
}

}  // namespace zendrel
