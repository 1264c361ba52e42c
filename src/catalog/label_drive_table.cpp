#include "catalog/label_drive_table.h"

#include "platform/drive_table.h"

namespace zendrel {
namespace {

std::string Drive_carrying(const std::string& label, const DriveTable& drives) {
  for (char letter : std::string("CDEFGHIJKLMNOPQRSTUVWXYZAB")) {
    const Drive* drive = drives.Find(letter);
    if (drive && drive->label == label) return std::string(1, letter);
  }
  return "C";  // no drive carries it: the system drive, as before
}

}  // namespace

std::string Find_LabelDrive(LabelDriveTable& table, const std::string& label,
                            const DriveTable& drives) {
  for (size_t i = 0; i < table.entries.size() && i < size_t(LabelDriveTable::kMaxEntries); ++i) {
    if (table.entries[i].label == label) return table.entries[i].letter;
  }
  std::string letter = Drive_carrying(label, drives);
  if (table.entries.size() < size_t(LabelDriveTable::kMaxEntries))
    table.entries.push_back({letter, label});
  return letter;
}

}  // namespace zendrel
