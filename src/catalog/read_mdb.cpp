// The PhotoRecall reader. libmdb reads the database in a child process: on a
// damaged file libmdb may read out of bounds, print or end the process, and
// none of that may reach the program. The child (a fresh exec of the
// program, see ChildProcess) sends the rows back; this process hands them
// to picture processing as they come.
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
#include <optional>

#include "catalog/mdb_picinfo.h"
#include "catalog/sized_text.h"
#include "platform/child_process.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/posix_file.h"

namespace zendrel {
namespace {

// A child that sends nothing for this long is stuck in a damaged file.
constexpr int kSilenceLimitMs = 60 * 1000;

// Messages from the child: a kind byte, a 32-bit length, then the payload.
enum Kind : char { kRow = 'R', kDamage = 'W', kFailure = 'E', kDone = 'D' };

std::string Row_payload(const PicInfoRow& row) {
  const PictureRecord& r = row.record;
  std::string out;
  for (const std::string* field :
       {&r.SourceFile, &r.Title, &r.Subject, &r.Category, &r.Comment, &r.Author, &r.Date})
    Put_sized_text(out, *field);
  out += row.date_missing ? '1' : '0';
  return out;
}

std::optional<PicInfoRow> Parse_row(const std::string& payload) {
  PicInfoRow row;
  PictureRecord& r = row.record;
  size_t at = 0;
  for (std::string* field :
       {&r.SourceFile, &r.Title, &r.Subject, &r.Category, &r.Comment, &r.Author, &r.Date}) {
    if (!Take_sized_text(payload, at, field)) return std::nullopt;
  }
  if (payload.size() != at + 1) return std::nullopt;
  row.date_missing = payload[at] == '1';
  return row;
}

void Send(int fd, Kind kind, const std::string& payload) {
  if (!Send_to_parent(fd, kind, payload)) _exit(3);
}

int Mdb_role(int fd, const std::vector<std::string>& args) {
  if (args.size() != 1) return 2;
  PicInfoCallbacks callbacks;
  callbacks.row = [fd](const PicInfoRow& row) { Send(fd, kRow, Row_payload(row)); };
  callbacks.damage = [fd](const std::string& cause) { Send(fd, kDamage, cause); };
  Status read = Read_picinfo_rows(args[0], callbacks);
  Send(fd, read.ok() ? kDone : kFailure, read.message());
  return 0;
}

const bool kMdbRoleRegistered = Register_child_role("photorecall", Mdb_role);

// What the start of the file says, before libmdb is let near it.
struct Header {
  Status status;
  long long size = 0;
  int page_size = 0;
};

Header Check_header(const std::string& native) {
  Header header;
  // Opened without waiting: a directory, a pipe or a device is refused.
  FileDescriptor fd;
  if (!Open_regular_file(native, native, &fd).ok()) {
    header.status = errno == ENOENT || errno == EACCES
                        ? Status::Error("the database cannot be opened (" + Errno_text(errno) + ")")
                        : Status::Error("not a database file");
    return header;
  }
  char start[0x20] = {};
  ssize_t got = Read_full(fd.get(), start, sizeof start);
  struct stat info {};
  if (::fstat(fd.get(), &info) == 0) header.size = info.st_size;
  bool jet = got == ssize_t(sizeof start) && start[0] == 0 &&
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
  ChildReader(ChildProcess& child, PictureSink& sink, const DriveTable& drives)
      : child_(child), sink_(sink), drives_(drives) {}

  Status Run() {
    ChildMessage message;
    while (!finished_) {
      auto result = child_.Receive(&message, [this] { return sink_.Stop_requested(); });
      if (result == ChildProcess::Result::kMessage) {
        Handle(message.kind, message.payload);
        continue;
      }
      stuck_ = result == ChildProcess::Result::kSilent;
      stopped_ = result == ChildProcess::Result::kStopped;
      break;
    }
    return Outcome();
  }

 private:
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
      if (auto modified = Modified_time(drives_, row.record.SourceFile))
        row.record.Date = Long_date_text(*modified);
    }
    sink_.Add_picture(row.record);
  }

  Status Outcome() {
    child_.Kill();
    if (!failure_.empty()) return Status::Error(failure_);
    // A stop ends the reading at once; what was read is the run's.
    if (stopped_) return {};
    if (!finished_) {
      std::string after = " after " + std::to_string(rows_) + " pictures";
      if (stuck_) return Status::Error("the database is damaged: reading got stuck" + after);
      return Status::Error("the database is damaged: reading broke off" + after);
    }
    if (!damage_.empty()) return Status::Error("the database is damaged: " + damage_);
    return {};
  }

  ChildProcess& child_;
  PictureSink& sink_;
  const DriveTable& drives_;
  bool finished_ = false;
  bool stuck_ = false;
  bool stopped_ = false;
  long rows_ = 0;
  std::string failure_;
  std::string damage_;
};

}  // namespace

Status Read_mdb(const std::string& path, PictureSink& sink, const DriveTable& drives) {
  std::optional<std::string> native = Native_path(drives, path);
  if (!native) return Status::Error("the drive of the database is not known");
  Header header = Check_header(*native);
  if (!header.status.ok()) return header.status;

  (void)kMdbRoleRegistered;
  ChildProcess child;
  ChildProcess::Limits limits;
  limits.silence_ms = kSilenceLimitMs;
  if (Status started = child.Start("photorecall", {*native}, limits); !started.ok())
    return Status::Error("the database cannot be read (" + started.message() + ")");
  Status read = ChildReader(child, sink, drives).Run();
  // A cut through a page is the root of whatever else went wrong.
  if (header.size % header.page_size != 0)
    return Status::Error("the file is truncated (its last page is incomplete)");
  return read;
}

}  // namespace zendrel
