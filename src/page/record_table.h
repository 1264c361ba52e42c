// RecordTable: the program-wide table of the records read back from a page.
// Records from 1 in page order (the table grows as they are stored, up to
// kMaxRecords, far beyond any collection) by fields 0 to 10,
// fields 1 to 10 in record-line order (thumb, file, path, source, title,
// subject, category, comment, author, picdate), slot 0 of either dimension
// unused. Values are stored exactly as they stand between the page's double
// quotes. The first record whose field 1 is empty ends the records in use.
// One thread: the user interface's.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace zendrel {

class RecordTable {
 public:
  static constexpr int kMaxRecords = 10'000'000;
  static constexpr int kFields = 10;

  RecordTable() { Clear(); }
  void Clear() {
    slots_.assign(1, {});
    directory_.clear();
  }

  // record 0..kMaxRecords, field 0..10; reads beyond the stored records give "".
  const std::string& Get(int record, int field) const;
  void Set(int record, int field, const std::string& value);
  // Records in use: those before the first with an empty field 1.
  int Count() const;

  // The directory (Windows view, ending in "\") whose archive.htm the
  // records came from; empty when none was read. The editor writes back there.
  const std::string& directory() const { return directory_; }
  void Set_directory(const std::string& directory) { directory_ = directory; }

 private:
  std::vector<std::array<std::string, kFields + 1>> slots_;
  std::string directory_;
};

// The one table of the program.
RecordTable& Record_table();

}  // namespace zendrel
