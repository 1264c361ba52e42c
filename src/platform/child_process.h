// The one way the program runs a child process: a fresh exec of the
// program itself, with a hidden first argument that names the child's role,
// never a bare fork of a process that has threads. The child shares nothing
// with the run but one socket: every other descriptor is closed at the
// exec, so no child ever holds an archive's lock. Messages are framed (a
// kind byte, a length, the bytes). The child has a memory limit, no core
// file, and ignores Ctrl-C (the run decides about stopping); the parent
// kills it when it is silent too long or a stop is asked for, at once.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix_file.h"
#include "platform/status.h"

namespace zendrel {

// The hidden first argument of a child.
inline constexpr char kChildFlag[] = "--zendrel-child";

// A role: what a child started for `name` does, with the socket to its
// parent and the arguments it was given; returns the exit status.
using ChildRole = int (*)(int channel, const std::vector<std::string>& args);
// Registered by the role's own file at start-up; true, for a static.
bool Register_child_role(const char* name, ChildRole role);
// Called first in main() of every program that starts children: when this
// process was started as a child, runs its role and gives the exit status;
// nothing otherwise. A program that never calls it cannot start children
// of itself (they would run its main again).
std::optional<int> Run_child_role_if_asked(int argc, char** argv);

struct ChildMessage {
  char kind = 0;
  std::string payload;
};

// In the child: one message to the parent, or the next one from it
// (blocking); false when the parent has gone.
bool Send_to_parent(int channel, char kind, std::string_view payload);
bool Receive_from_parent(int channel, ChildMessage* message);

class ChildProcess {
 public:
  struct Limits {
    int silence_ms = 30000;
    // Address space the child may use in all (0: no limit).
    unsigned long long memory_bytes = 1ULL << 30;
  };
  enum class Result { kMessage, kEnded, kSilent, kStopped };

  ChildProcess() = default;
  ~ChildProcess() { Kill(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  Status Start(const std::string& role, const std::vector<std::string>& args, Limits limits);
  bool running() const { return pid_ > 0; }
  // Queues a message; it is written as the child reads, while Receive waits.
  void Send(char kind, std::string_view payload);
  // The next message. kEnded: the child ended or broke the framing;
  // kSilent: it said nothing for the silence limit and was killed;
  // kStopped: `stop` (asked every tenth of a second) said so, and the
  // child was killed.
  Result Receive(ChildMessage* message, const std::function<bool()>& stop = {});
  // Ends the child now (SIGKILL) and reaps it.
  void Kill();

 private:
  bool Take(ChildMessage* message);

  pid_t pid_ = -1;
  FileDescriptor channel_;
  Limits limits_;
  std::string in_, out_;
  bool broken_ = false;
};

// The program a child is an exec of: this program itself, unless a test
// or a benchmark names another build of it.
void Set_child_program(const std::string& native_path);

}  // namespace zendrel
