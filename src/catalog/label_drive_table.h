// The label-to-drive table of the export reader: which drive letter carries
// the volume of each label met so far. Owned by the main window (the host),
// kept across runs, never cleared; at most 16 entries. One thread: the run's.
#pragma once

#include <string>
#include <vector>

#include "platform/drive_table.h"

namespace zendrel {

struct LabelDrive {
  std::string letter;  // one character
  std::string label;
};

struct LabelDriveTable {
  static constexpr int kMaxEntries = 16;
  std::vector<LabelDrive> entries;  // in the order added
};

// The drive letter ("D") that carries the volume labelled `label`: from the
// table when the label was met before, else from the first drive C to Z, then
// A, then B, of `drives` whose label equals it (case matters), else "C". A
// drive the table does not know cannot be read and matches nothing. The answer
// is remembered while the table has room; once it holds 16 labels, further
// labels are looked up on the drives each time they are asked for.
std::string Find_LabelDrive(LabelDriveTable& table, const std::string& label,
                            const DriveTable& drives);

}  // namespace zendrel
