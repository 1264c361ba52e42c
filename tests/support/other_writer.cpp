#include "support/other_writer.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zendrel::testing {

OtherWriter::OtherWriter(const std::string& native_path) {
  int ready[2], release[2];
  if (pipe(ready) != 0 || pipe(release) != 0) return;
  child_ = fork();
  if (child_ == 0) {
    int fd = ::open(native_path.c_str(), O_WRONLY);
    char c = 'r';
    (void)!write(ready[1], &c, 1);
    (void)!read(release[0], &c, 1);
    ::close(fd);
    _exit(0);
  }
  ::close(ready[1]);
  ::close(release[0]);
  char c;
  (void)!read(ready[0], &c, 1);
  ::close(ready[0]);
  release_fd_ = release[1];
}

void OtherWriter::Release() {
  if (child_ <= 0) return;
  (void)!write(release_fd_, "x", 1);
  ::close(release_fd_);
  waitpid(child_, nullptr, 0);
  child_ = -1;
}

}  // namespace zendrel::testing
