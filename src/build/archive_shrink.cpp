#include "build/archive_shrink.h"

#include "page/page_records.h"
#include "platform/file_system.h"
#include "platform/win_path.h"

namespace zendrel {

int Records_in_archive_page(const DriveTable& drives, const std::string& dest) {
  std::string page = dest + "archive.htm";
  if (!Plain_file_exists(drives, page)) return 0;
  std::string bytes;
  if (!Read_page_bytes(drives, page, &bytes).ok()) return 0;
  int records = 0;
  (void)For_each_page_record(bytes, page, [&](int, const std::vector<std::string>&) {
    ++records;
    return Status();
  });
  return records;
}

std::optional<Status> Refuse_empty_run(const DriveTable& drives, const std::string& dest_dir,
                                       const std::string& found) {
  if (!File_exists(drives, Add_backslash(dest_dir) + "archive.htm")) return std::nullopt;
  return Status::Error(found + ", so no archive was made.\rThe archive in " + dest_dir +
                       " was left as it was.");
}

Status Keep_page_a_stop_would_shorten(const DriveTable& drives, const std::string& dest_dir,
                                      int new_records, std::string* note) {
  note->clear();
  std::string dest = Add_backslash(dest_dir);
  int old_records = Records_in_archive_page(drives, dest);
  if (new_records >= old_records) return Status();
  if (Status kept = Copy_file(drives, dest + "archive.htm", dest + "archive_bak.htm"); !kept.ok())
    return kept;
  *note = "The run was stopped: the new page holds " + std::to_string(new_records) + " of the " +
          std::to_string(old_records) + " records of the previous one, which was kept as " + dest +
          "archive_bak.htm.";
  return Status();
}

}  // namespace zendrel
