// The PhotoRecall reader. libmdb reads the database in a child process: on a
// damaged file libmdb may read out of bounds, print or end the process, and
// none of that may reach the program. The child sends the rows back through
// a pipe; this process hands them to picture processing as they come.
#include "catalog/read_mdb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>

#include "catalog/mdb_picinfo.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace zendrel {
namespace {

// A child that sends nothing for this long is stuck in a damaged file.
constexpr int kSilenceLimitMs = 60 * 1000;

// Messages of the pipe: a kind byte, a 32-bit length, then the payload.
enum Kind : char { kRow = 'R', kDamage = 'W', kFailure = 'E', kDone = 'D' };

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

std::string Row_payload(const PicInfoRow& row) {
  const PictureRecord& r = row.record;
  std::string out;
  for (const std::string* field :
       {&r.SourceFile, &r.Title, &r.Subject, &r.Category, &r.Comment, &r.Author, &r.Date})
    Put_text(out, *field);
  out += row.date_missing ? '1' : '0';
  return out;
}

std::optional<PicInfoRow> Parse_row(const std::string& payload) {
  PicInfoRow row;
  PictureRecord& r = row.record;
  size_t at = 0;
  for (std::string* field :
       {&r.SourceFile, &r.Title, &r.Subject, &r.Category, &r.Comment, &r.Author, &r.Date}) {
    if (!Take_text(payload, at, field)) return std::nullopt;
  }
  if (payload.size() != at + 1) return std::nullopt;
  row.date_missing = payload[at] == '1';
  return row;
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

void Send(int fd, Kind kind, const std::string& payload) {
  std::string message(1, kind);
  Put_text(message, payload);
  if (!Write_all(fd, message)) _exit(3);
}

[[noreturn]] void Run_child(const std::string& native, int fd) {
  // libmdb's warnings are not the user's concern; the causes come back here.
  int null = open("/dev/null", O_WRONLY);
  if (null >= 0) {
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
  }
  PicInfoCallbacks callbacks;
  callbacks.row = [fd](const PicInfoRow& row) { Send(fd, kRow, Row_payload(row)); };
  callbacks.damage = [fd](const std::string& cause) { Send(fd, kDamage, cause); };
  Status read = Read_picinfo_rows(native, callbacks);
  Send(fd, read.ok() ? kDone : kFailure, read.message());
  _exit(0);
}

// What the start of the file says, before libmdb is let near it.
struct Header {
  Status status;
  long long size = 0;
  int page_size = 0;
};

Header Check_header(const std::string& native) {
  Header header;
  struct stat info {};
  if (stat(native.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    // A directory, a pipe or a device: nothing to read, or a read that waits.
    header.status = Status::Error("not a database file");
    return header;
  }
  std::ifstream in(native, std::ios::binary);
  if (!in) {
    header.status = Status::Error("the database cannot be opened (" + Errno_text(errno) + ")");
    return header;
  }
  char start[0x20] = {};
  in.read(start, sizeof start);
  std::streamsize got = in.gcount();
  in.clear();
  in.seekg(0, std::ios::end);
  header.size = static_cast<long long>(in.tellg());
  bool jet = got == sizeof start && start[0] == 0 &&
             (std::memcmp(start + 4, "Standard Jet DB", 16) == 0 ||
              std::memcmp(start + 4, "Standard ACE DB", 16) == 0);
  if (!jet) {
    header.status = Status::Error("not an Access database");
    return header;
  }
  int version = static_cast<unsigned char>(start[0x14]);
  if (version > 6) {
    header.status = Status::Error("an Access database of a version that cannot be read");
    return header;
  }
  header.page_size = version == 0 ? 2048 : 4096;
  if (header.size < header.page_size)
    header.status = Status::Error("the file is truncated (not even its first page is whole)");
  return header;
}

// Reads the child's messages as they come and hands the rows on.
class ChildReader {
 public:
  ChildReader(pid_t child, int fd, PictureSink& sink) : child_(child), fd_(fd), sink_(sink) {}

  Status Run() {
    std::string buffer;
    size_t at = 0;
    while (!finished_) {
      if (!Fill(buffer)) break;
      while (!finished_ && Take_message(buffer, at)) {
      }
      buffer.erase(0, at);
      at = 0;
    }
    return Outcome();
  }

 private:
  // Appends what the pipe has; false at its end or after a stuck child.
  bool Fill(std::string& buffer) {
    pollfd wait{fd_, POLLIN, 0};
    int ready = poll(&wait, 1, kSilenceLimitMs);
    if (ready < 0 && errno == EINTR) return true;
    if (ready == 0) {
      kill(child_, SIGKILL);
      stuck_ = true;
      return false;
    }
    char chunk[65536];
    ssize_t n = read(fd_, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) return true;
    if (n <= 0) return false;
    buffer.append(chunk, size_t(n));
    return true;
  }

  bool Take_message(const std::string& buffer, size_t& at) {
    if (buffer.size() - at < 5) return false;
    uint32_t n = 0;
    std::memcpy(&n, buffer.data() + at + 1, sizeof n);
    if (buffer.size() - at - 5 < n) return false;
    Handle(buffer[at], buffer.substr(at + 5, n));
    at += 5 + n;
    return true;
  }

  void Handle(char kind, const std::string& payload) {
    if (kind == kRow) {
      std::optional<PicInfoRow> row = Parse_row(payload);
      if (row) Deliver(*row);
      return;
    }
    if (kind == kDamage) {
      if (damage_.empty()) damage_ = payload;
      return;
    }
    finished_ = true;
    if (kind == kFailure)
      failure_ = payload;
    else if (kind != kDone)
      failure_ = "the database reader answered out of turn";
  }

  void Deliver(PicInfoRow& row) {
    ++rows_;
    if (row.date_missing) {
      if (auto modified = Modified_time(row.record.SourceFile))
        row.record.Date = Long_date_text(*modified);
    }
    sink_.Add_picture(row.record);
  }

  Status Outcome() {
    int status = 0;
    while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
    if (!failure_.empty()) return Status::Error(failure_);
    if (!finished_) {
      std::string after = " after " + std::to_string(rows_) + " pictures";
      if (stuck_) return Status::Error("the database is damaged: reading got stuck" + after);
      return Status::Error("the database is damaged: reading broke off" + after);
    }
    if (!damage_.empty()) return Status::Error("the database is damaged: " + damage_);
    return {};
  }

  pid_t child_;
  int fd_;
  PictureSink& sink_;
  bool finished_ = false;
  bool stuck_ = false;
  long rows_ = 0;
  std::string failure_;
  std::string damage_;
};

}  // namespace

Status Read_mdb(const std::string& path, PictureSink& sink) {
  std::optional<std::string> native = Native_path(path);
  if (!native) return Status::Error("the drive of the database is not known");
  Header header = Check_header(*native);
  if (!header.status.ok()) return header.status;

  // Should libmdb call exit() in the child, the child's copies of this
  // process's open files must hold no buffered text to write a second time.
  std::fflush(nullptr);
  int pipe_ends[2];
  if (pipe2(pipe_ends, O_CLOEXEC) != 0)
    return Status::Error("the database cannot be read (" + Errno_text(errno) + ")");
  pid_t child = fork();
  if (child < 0) {
    int error = errno;
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    return Status::Error("the database cannot be read (" + Errno_text(error) + ")");
  }
  if (child == 0) {
    close(pipe_ends[0]);
    Run_child(*native, pipe_ends[1]);
  }
  close(pipe_ends[1]);
  Status read = ChildReader(child, pipe_ends[0], sink).Run();
  close(pipe_ends[0]);
  // A cut through a page is the root of whatever else went wrong.
  if (header.size % header.page_size != 0)
    return Status::Error("the file is truncated (its last page is incomplete)");
  return read;
}

}  // namespace zendrel
