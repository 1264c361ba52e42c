#include "page/record_table.h"

namespace zendrel {

const std::string& RecordTable::Get(int record, int field) const {
  static const std::string kEmpty;
  if (record < 0 || size_t(record) >= slots_.size() || field < 0 || field > kFields) return kEmpty;
  return slots_[record][field];
}

void RecordTable::Set(int record, int field, const std::string& value) {
  if (record < 0 || record > kMaxRecords || field < 0 || field > kFields) return;
  if (size_t(record) >= slots_.size()) {
    if (value.empty()) return;  // an empty slot beyond the end is already empty
    slots_.resize(size_t(record) + 1);
  }
  slots_[record][field] = value;
}

int RecordTable::Count() const {
  int n = 0;
  while (size_t(n) + 1 < slots_.size() && !slots_[n + 1][1].empty()) ++n;
  return n;
}

RecordTable& Record_table() {
  static RecordTable table;
  return table;
}

}  // namespace zendrel
