// A text file written whole or not at all: lines go to a private temporary
// file beside the target, which replaces the target only when committed.
// Dropping an uncommitted file removes the temporary, so no failure or crash
// leaves a half-written page or catalogue in place of the user's last good
// one. Lines end in carriage return and line feed. One thread at a time.
#pragma once

#include <initializer_list>
#include <string>

#include "platform/drive_table.h"
#include "platform/posix_file.h"
#include "platform/status.h"

namespace zendrel {

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile() { Discard(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // `path` is the target, Windows view through `drives`, written under
  // exactly its name.
  Status Open(const DriveTable& drives, const std::string& path);
  // Writes `text` and CR LF. After a failure further writes do nothing;
  // status() keeps the first failure.
  void Write_line(const std::string& text);
  void Write(const std::string& text);
  // Writes out and syncs everything: only the rename is left. Several files
  // of one change are finished first and then replaced, so that a full disk
  // never leaves a new one beside an old one.
  Status Finish();
  // Renames the finished file over the target.
  Status Replace();
  // Finish() and Replace().
  Status Commit();
  // Removes the temporary file; the target is left as it was.
  void Discard();
  // Another target (Windows view) in the same directory, before Replace().
  void Retarget(const DriveTable& drives, const std::string& path);

  bool is_open() const { return file_.is_open(); }
  // Lines written since Open().
  long long lines_written() const { return lines_; }
  const Status& status() const { return status_; }
  const std::string& path() const { return path_; }
  const std::string& native_target() const { return file_.target(); }

 private:
  void Flush();

  AtomicFile file_;
  std::string buffer_;
  std::string path_;  // target, Windows view
  long long lines_ = 0;
  Status status_;
};

// Replaces the targets of several finished files as one change: should one
// rename fail, the targets already replaced get their previous files back
// (or are removed where there were none), so the set stays all old or all
// new. Every file is discarded afterwards.
Status Replace_together(std::initializer_list<OutputFile*> files);

}  // namespace zendrel
