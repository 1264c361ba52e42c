#include "catalog/metadata_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

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

// The child may use this much memory beyond what it was born with; a file
// that makes Exiv2 ask for more is a damaged one.
constexpr rlim_t kChildMemoryBytes = rlim_t(1) << 30;
// A message longer than this did not come from the child's own writing.
constexpr uint32_t kMaxMessageBytes = 1 << 20;

void Put_text(std::string& out, const std::string& text) {
  uint32_t n = uint32_t(text.size());
  out.append(reinterpret_cast<const char*>(&n), sizeof n);
  out += text;
}

bool Take_text(const std::string& in, size_t& at, std::string* text) {
  uint32_t n = 0;
  if (in.size() - at < sizeof n) return false;
  std::memcpy(&n, in.data() + at, sizeof n);
  at += sizeof n;
  if (in.size() - at < n) return false;
  *text = in.substr(at, n);
  at += n;
  return true;
}

// One picture's message: its length, then the six texts and the damage flag.
std::string Message(const PictureMetadata& m) {
  std::string body;
  for (const std::string* field :
       {&m.title, &m.subject, &m.category, &m.comment, &m.author, &m.date})
    Put_text(body, *field);
  body += m.damaged ? '1' : '0';
  std::string message;
  Put_text(message, body);
  return message;
}

bool Parse(const std::string& body, PictureMetadata* m) {
  size_t at = 0;
  for (std::string* field :
       {&m->title, &m->subject, &m->category, &m->comment, &m->author, &m->date})
    if (!Take_text(body, at, field)) return false;
  if (body.size() != at + 1) return false;
  m->damaged = body[at] == '1';
  return true;
}

bool Write_all(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

// Leaves the child room for a picture's metadata but not for a runaway
// allocation.
void Limit_memory() {
#ifndef ZENDREL_SANITIZED
  std::ifstream statm("/proc/self/statm");
  unsigned long long pages = 0;
  if (!(statm >> pages)) return;
  rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + kChildMemoryBytes;
  rlimit bound{limit, limit};
  setrlimit(RLIMIT_AS, &bound);
#endif
}

[[noreturn]] void Run_child(const std::vector<std::string>& paths, size_t first,
                            const MetadataChild::Reader& reader, int fd) {
  int null = open("/dev/null", O_WRONLY);
  if (null >= 0) {
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
  }
  Limit_memory();
  // Ctrl-C reaches the whole process group: the run decides about
  // stopping, and ends this child itself.
  signal(SIGINT, SIG_IGN);
  // A crash over a hostile file is expected here: no core file for it.
  rlimit no_core{0, 0};
  setrlimit(RLIMIT_CORE, &no_core);
  for (size_t i = first; i < paths.size(); ++i) {
    PictureMetadata metadata;
    if (!paths[i].empty()) metadata = reader(paths[i]);
    if (!Write_all(fd, Message(metadata))) _exit(0);  // the run has ended
  }
  _exit(0);
}

}  // namespace

MetadataChild::MetadataChild(std::vector<std::string> native_paths, Reader reader,
                             int silence_limit_ms)
    : paths_(std::move(native_paths)),
      reader_(std::move(reader)),
      silence_limit_ms_(silence_limit_ms) {
  Start(0);
}

MetadataChild::~MetadataChild() { End_child(); }

void MetadataChild::Start(size_t first) {
  buffer_.clear();
  if (first >= paths_.size()) return;
  // The child's copies of this process's open files must hold no buffered
  // text to write a second time.
  std::fflush(nullptr);
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return;
  pid_t child = fork();
  if (child < 0) {
    close(ends[0]);
    close(ends[1]);
    return;
  }
  if (child == 0) {
    close(ends[0]);
    Run_child(paths_, first, reader_, ends[1]);
  }
  close(ends[1]);
  child_ = child;
  fd_ = ends[0];
}

void MetadataChild::End_child() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (child_ > 0) {
    kill(child_, SIGKILL);
    while (waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  child_ = -1;
}

// Appends what the pipe has; false at its end or when the child is stuck.
bool MetadataChild::Fill() {
  if (fd_ < 0) return false;
  pollfd wait{fd_, POLLIN, 0};
  int ready;
  do {
    ready = poll(&wait, 1, silence_limit_ms_);
  } while (ready < 0 && errno == EINTR);
  if (ready <= 0) return false;
  char chunk[65536];
  ssize_t n;
  do {
    n = read(fd_, chunk, sizeof chunk);
  } while (n < 0 && errno == EINTR);
  if (n <= 0) return false;
  buffer_.append(chunk, size_t(n));
  return true;
}

bool MetadataChild::Take(PictureMetadata* metadata) {
  uint32_t n = 0;
  if (buffer_.size() < sizeof n) return false;
  std::memcpy(&n, buffer_.data(), sizeof n);
  if (buffer_.size() - sizeof n < n) return false;
  *metadata = PictureMetadata();
  if (!Parse(buffer_.substr(sizeof n, n), metadata)) {
    *metadata = PictureMetadata();
    metadata->damaged = true;
  }
  buffer_.erase(0, sizeof n + n);
  return true;
}

PictureMetadata MetadataChild::Next() {
  size_t index = next_++;
  if (index >= paths_.size()) return {};
  PictureMetadata metadata;
  for (;;) {
    if (Take(&metadata)) return metadata;
    uint32_t announced = 0;
    if (buffer_.size() >= sizeof announced)
      std::memcpy(&announced, buffer_.data(), sizeof announced);
    if (announced > kMaxMessageBytes || !Fill()) break;
  }
  // The child died or got stuck over this picture: the pictures after it
  // go to a new child.
  End_child();
  Start(index + 1);
  metadata = PictureMetadata();
  metadata.damaged = true;
  return metadata;
}

}  // namespace zendrel
