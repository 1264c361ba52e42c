#include "page/archive_page_reader.h"

namespace zendrel {
// Placeholder until the page reader lands.
Status Read_archive_page(const std::string& directory, RecordTable& table) {
  table.Clear();
  return Status::FileError(directory + "archive.htm", "pages cannot be read yet");
}
}  // namespace zendrel
