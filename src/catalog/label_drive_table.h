// The label-to-drive table of the export reader: which drive letter carries
// the volume of each label met so far. Owned by the main window (the host),
// kept across runs, never cleared; at most 16 entries.
#pragma once

#include <string>
#include <vector>

namespace zendrel {

struct LabelDrive {
  std::string letter;  // one character
  std::string label;
};

struct LabelDriveTable {
  static constexpr int kMaxEntries = 16;
  std::vector<LabelDrive> entries;  // in the order added
};

}  // namespace zendrel
