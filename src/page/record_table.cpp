#include "page/record_table.h"

namespace zendrel {

const ArchiveRecord& RecordTable::Record(int number) const {
  static const ArchiveRecord kEmpty;
  if (number < 1 || size_t(number) > records_.size()) return kEmpty;
  return records_[size_t(number) - 1];
}

ArchiveRecord* RecordTable::Change(int number) {
  if (number < 1 || number > kMaxRecords) return nullptr;
  if (size_t(number) > records_.size()) records_.resize(size_t(number));
  return &records_[size_t(number) - 1];
}

void RecordTable::Erase(int number) {
  if (number >= 1 && size_t(number) <= records_.size())
    records_.erase(records_.begin() + (number - 1));
}

int RecordTable::Count() const {
  int n = 0;
  while (size_t(n) < records_.size() && !records_[size_t(n)].thumb.empty()) ++n;
  return n;
}

}  // namespace zendrel
