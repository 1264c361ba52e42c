// ArchiveRecord: one picture's record as an archive page holds it, field
// by field; and RecordTable: the records read back from one page, which the
// record editor and the command line's records, edit and delete work on.
// Records are numbered from 1 in page order (the numbers the user sees); the
// first record without a thumbnail ends the records in use. Values are held
// exactly as they stand between the page's double quotes. Whoever reads a
// page owns its table. One thread.
#pragma once

#include <string>
#include <vector>

namespace zendrel {

struct ArchiveRecord {
  std::string thumb;   // thumbnail file name; empty in no record in use
  std::string file;    // carried through unchanged (a master's prefix)
  std::string path;    // directory of the source picture, backslashes doubled
  std::string source;  // file name of the source picture
  std::string title;
  std::string subject;  // keywords
  std::string category;
  std::string comment;
  std::string author;
  std::string picdate;  // date text
  bool operator==(const ArchiveRecord&) const = default;
};

class RecordTable {
 public:
  // Far beyond any collection; a page with more is refused.
  static constexpr int kMaxRecords = 10'000'000;

  void Clear() {
    records_.clear();
    directory_.clear();
  }

  // Record `number`; a number without a record gives an empty one.
  const ArchiveRecord& Record(int number) const;
  // Record `number` to be changed, made (empty) when the table is shorter;
  // null for a number below 1 or above kMaxRecords.
  ArchiveRecord* Change(int number);
  // Removes record `number`; the later ones move down by one.
  void Erase(int number);
  // Records in use: those before the first without a thumbnail.
  int Count() const;

  // The directory (Windows view, ending in "\") whose archive.htm the
  // records came from; empty when none was read. The editor writes back there.
  const std::string& directory() const { return directory_; }
  void Set_directory(const std::string& directory) { directory_ = directory; }

 private:
  std::vector<ArchiveRecord> records_;  // record n at n - 1
  std::string directory_;
};

}  // namespace zendrel
