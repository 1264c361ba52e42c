#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>

// The sanitizers' shadow memory needs the whole address space.
#if defined(__SANITIZE_ADDRESS__)
#define ZENDREL_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZENDREL_SANITIZED 1
#endif
#endif

namespace zendrel {
namespace {

constexpr int kChannel = 3;  // the child's end of the socket
constexpr uint32_t kMaxMessageBytes = 16u << 20;
constexpr int kStopCheckMs = 100;

std::map<std::string, ChildRole>& Roles() {
  static std::map<std::string, ChildRole> roles;
  return roles;
}

std::mutex g_program_mutex;
std::string g_program;  // empty: this program itself
// Set when main() asked whether to play a child: only then can this
// program be started as one (any other would run its own main again).
std::atomic<bool> g_plays_children{false};

std::string Frame(char kind, std::string_view payload) {
  uint32_t n = uint32_t(payload.size());
  std::string frame(1, kind);
  frame.append(reinterpret_cast<const char*>(&n), sizeof n);
  frame.append(payload);
  return frame;
}

}  // namespace

bool Register_child_role(const char* name, ChildRole role) {
  Roles()[name] = role;
  return true;
}

std::optional<int> Run_child_role_if_asked(int argc, char** argv) {
  g_plays_children = true;
  if (argc < 3 || std::strcmp(argv[1], kChildFlag) != 0) return std::nullopt;
  auto role = Roles().find(argv[2]);
  if (role == Roles().end()) return 2;
  std::vector<std::string> args(argv + 3, argv + argc);
  return role->second(kChannel, args);
}

bool Send_to_parent(int channel, char kind, std::string_view payload) {
  std::string frame = Frame(kind, payload);
  return Write_all(channel, frame.data(), frame.size());
}

bool Receive_from_parent(int channel, ChildMessage* message) {
  char head[5];
  if (Read_full(channel, head, sizeof head) != ssize_t(sizeof head)) return false;
  uint32_t n = 0;
  std::memcpy(&n, head + 1, sizeof n);
  if (n > kMaxMessageBytes) return false;
  message->kind = head[0];
  message->payload.assign(n, '\0');
  return Read_full(channel, message->payload.data(), n) == ssize_t(n);
}

void Set_child_program(const std::string& native_path) {
  std::lock_guard<std::mutex> lock(g_program_mutex);
  g_program = native_path;
}

Status ChildProcess::Start(const std::string& role, const std::vector<std::string>& args,
                           Limits limits) {
  Kill();
  limits_ = limits;
  in_.clear();
  out_.clear();
  broken_ = false;
  std::string program;
  {
    std::lock_guard<std::mutex> lock(g_program_mutex);
    program = g_program;
  }
  if (program.empty()) {
    if (!g_plays_children) return Status::Error("this program cannot start its child processes");
    program = "/proc/self/exe";
  }
  // Everything the child needs is made before the fork: after it, only
  // system calls (the parent may have threads).
  std::vector<std::string> words{program, kChildFlag, role};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
    return Status::Error("a child process cannot be started (" + Errno_text(errno) + ")");
  rlimit memory{rlim_t(limits.memory_bytes), rlim_t(limits.memory_bytes)};
  rlimit no_core{0, 0};
  pid_t pid = ::fork();
  if (pid < 0) {
    int error = errno;
    ::close(ends[0]);
    ::close(ends[1]);
    return Status::Error("a child process cannot be started (" + Errno_text(error) + ")");
  }
  if (pid == 0) {
    int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
      ::dup2(null, STDIN_FILENO);
      ::dup2(null, STDOUT_FILENO);
      ::dup2(null, STDERR_FILENO);
    }
    if (ends[1] == kChannel) {
      ::fcntl(kChannel, F_SETFD, 0);
    } else {
      ::dup2(ends[1], kChannel);
    }
    // Nothing else of the parent's: no lock, no file, no pipe of another child.
    if (::syscall(SYS_close_range, kChannel + 1, ~0U, 0) != 0) {
      for (int fd = kChannel + 1; fd < 65536; ++fd) ::close(fd);
    }
#ifndef ZENDREL_SANITIZED
    if (limits.memory_bytes > 0) ::setrlimit(RLIMIT_AS, &memory);
#endif
    ::setrlimit(RLIMIT_CORE, &no_core);
    ::signal(SIGINT, SIG_IGN);
    ::signal(SIGPIPE, SIG_DFL);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(ends[1]);
  pid_ = pid;
  channel_ = FileDescriptor(ends[0]);
  return Status();
}

void ChildProcess::Send(char kind, std::string_view payload) { out_ += Frame(kind, payload); }

bool ChildProcess::Take(ChildMessage* message) {
  if (in_.size() < 5) return false;
  uint32_t n = 0;
  std::memcpy(&n, in_.data() + 1, sizeof n);
  if (n > kMaxMessageBytes) {
    broken_ = true;
    return false;
  }
  if (in_.size() - 5 < n) return false;
  message->kind = in_[0];
  message->payload = in_.substr(5, n);
  in_.erase(0, 5 + n);
  return true;
}

ChildProcess::Result ChildProcess::Receive(ChildMessage* message,
                                           const std::function<bool()>& stop) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point heard = Clock::now();
  for (;;) {
    if (stop && stop()) {
      Kill();
      return Result::kStopped;
    }
    if (Take(message)) return Result::kMessage;
    if (broken_ || !channel_.valid()) {
      Kill();
      return Result::kEnded;
    }
    int silent =
        int(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - heard).count());
    if (silent >= limits_.silence_ms) {
      Kill();
      return Result::kSilent;
    }
    pollfd wait{channel_.get(), short(POLLIN | (out_.empty() ? 0 : POLLOUT)), 0};
    int ready = ::poll(&wait, 1, std::min(kStopCheckMs, limits_.silence_ms - silent));
    if (ready <= 0) continue;  // a timeout or a signal: look at the stop again
    if (wait.revents & POLLOUT) {
      ssize_t sent = ::send(channel_.get(), out_.data(), out_.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
      if (sent > 0) out_.erase(0, size_t(sent));
      if (sent < 0 && errno != EAGAIN && errno != EINTR) out_.clear();
    }
    if (wait.revents & (POLLIN | POLLHUP | POLLERR)) {
      char chunk[65536];
      ssize_t got = ::recv(channel_.get(), chunk, sizeof chunk, MSG_DONTWAIT);
      if (got > 0) {
        in_.append(chunk, size_t(got));
        heard = Clock::now();
      } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
        channel_.Reset();  // what was received is still taken above
      }
    }
  }
}

void ChildProcess::Kill() {
  channel_.Reset();
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  pid_ = -1;
}

}  // namespace zendrel
