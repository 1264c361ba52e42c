#include "support/other_run.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zendrel::testing {

OtherRun::OtherRun(const std::string& native_dir) {
  int ready[2], release[2];
  if (::pipe(ready) != 0) return;
  if (::pipe(release) != 0) return;
  child_ = ::fork();
  if (child_ == 0) {
    // Only system calls here: the child of a test program.
    ::close(ready[0]);
    ::close(release[1]);  // else its own copy would keep the pipe open
    int fd = ::open(native_dir.c_str(), O_RDONLY | O_DIRECTORY);
    char byte = (fd >= 0 && ::flock(fd, LOCK_EX) == 0) ? 'y' : 'n';
    (void)!::write(ready[1], &byte, 1);
    (void)!::read(release[0], &byte, 1);
    ::_exit(0);
  }
  ::close(ready[1]);
  ::close(release[0]);
  char byte = 0;
  holds_lock_ = ::read(ready[0], &byte, 1) == 1 && byte == 'y';
  ::close(ready[0]);
  release_ = release[1];
}

void OtherRun::Finish() {
  if (release_ < 0) return;
  ::close(release_);  // the child's read returns, and it ends
  release_ = -1;
  int status = 0;
  ::waitpid(child_, &status, 0);
}

}  // namespace zendrel::testing
