#include "cli/open_in_browser.h"

#include <spawn.h>
#include <sys/wait.h>

#include "platform/file_system.h"
#include "platform/native_path.h"

extern char** environ;

namespace zendrel::cli {

Status Open_in_browser(const DriveTable& drives, const std::string& page) {
  auto native = Native_path(drives, page);
  if (!native || !Plain_file_exists(drives, page)) return Status::FileError(page, "no such file");
  // A browser started by xdg-open may live as long as its window: the
  // command does not wait for it.
  char program[] = "xdg-open";
  char* argv[] = {program, native->data(), nullptr};
  pid_t child = 0;
  int error = posix_spawnp(&child, program, nullptr, nullptr, argv, environ);
  if (error != 0)
    return Status::FileError(page,
                             "cannot be opened in a web browser: xdg-open: " + Errno_text(error));
  // xdg-open hands over and ends; collect it if it already has.
  waitpid(child, nullptr, WNOHANG);
  return {};
}

}  // namespace zendrel::cli
