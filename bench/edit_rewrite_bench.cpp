// Reading and rewriting a large archive (50,000 records): the time a user
// waits after pressing Update or Delete in the record editor, and when the
// editor opens. Prints milliseconds per operation.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "edit/rewrite_archive.h"
#include "page/archive_page_reader.h"
#include "page/page_head.h"
#include "page/page_tail.h"
#include "platform/native_path.h"
#include "platform/output_file.h"

using namespace zendrel;

namespace {

double Milliseconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zendrel-bench-XXXXXX").string();
  std::string native = ::mkdtemp(pattern.data());
  DriveTable drives;
  drives.Set('C', "/");
  std::string dir = Windows_path(drives, native) + "\\";

  OutputFile page;
  if (!page.Open(drives, dir + "archive.htm").ok()) return 1;
  Write_page_head(page);
  for (int i = 1; i <= 50'000; ++i) {
    std::string n = std::to_string(i);
    Write_record_line(
        page, {"_ABCD" + n + ".jpg", "", "C:\\\\Photos\\\\" + n, "pic" + n + ".jpg", "Title " + n,
               "beach sea sand", "Holiday", "A comment on " + n, "Ann", "December 25, 1999"});
  }
  Write_page_tail(page);
  if (!page.Commit().ok()) return 1;

  const int rounds = 5;
  double read_ms = 0, rewrite_ms = 0;
  RecordTable table;
  for (int round = 0; round < rounds; ++round) {
    auto start = std::chrono::steady_clock::now();
    if (!Read_archive_page(drives, dir, table).ok()) return 1;
    read_ms += Milliseconds_since(start);
    EditorSession session(drives, table);
    start = std::chrono::steady_clock::now();
    if (!Rewrite_archive(session).ok()) return 1;
    rewrite_ms += Milliseconds_since(start);
  }
  std::printf("records %d: read %.1f ms, rewrite (backup, page, catalogue) %.1f ms\n",
              table.Count(), read_ms / rounds, rewrite_ms / rounds);
  std::filesystem::remove_all(native);
  return 0;
}
