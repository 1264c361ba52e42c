// How a run reaches whoever started it: the window, the command line or a
// test. The run tells its status line, progress and skipped files, asks its
// questions, and gives the event loop a turn after each picture; it never
// reads anything back but the answers. Every call comes on the run's own
// thread (the user-interface thread in the desktop program).
//
// StopRequest is the Stop button: a flag the front end sets, from an event
// of its loop or a signal handler, and the run checks after each picture.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "build/run_modes.h"
#include "build/skipped_files.h"
#include "platform/message_buttons.h"

namespace zendrel {

class RecordTable;

class StopRequest {
 public:
  void Request() { requested_.store(true); }
  bool Requested() const { return requested_.load(); }

 private:
  std::atomic<bool> requested_{false};
};

class RunObserver {
 public:
  virtual ~RunObserver() = default;

  // The status line as the run has it: empty at the start, "Running...",
  // the count, then the count and " Done!".
  virtual void Status(const std::string& /*text*/) {}
  // The run's pictures are under way (the Go button reads "Stop") or the
  // run is over (it reads "Go" again).
  virtual void Running(bool /*running*/) {}
  // After each picture (each subdirectory page of a master): how many of
  // `total` are done; `total` is -1 while it is not known.
  virtual void Progress(int32_t /*done*/, int32_t /*total*/) {}
  // A file that a source delivered and the run could not archive (or
  // archived with a remark); `detail` holds the reason's particulars. The
  // page and catalogue hold no line for a skipped file; the front end tells
  // the user.
  virtual void Picture_skipped(const std::string& /*file*/, SkipReason /*reason*/,
                               const std::string& /*detail*/) {}
  // Pictures archived with only the part of their metadata that could be read.
  virtual void Metadata_damaged(int32_t /*pictures*/) {}
  // One of them, by its path as the source gave it.
  virtual void Metadata_damaged_file(const std::string& /*file*/) {}

  // The copy-originals question, modal.
  virtual CopyMode Ask_copy_originals() = 0;
  // Title "Zendrel", no icon.
  virtual Answer Message_box(const std::string& text, Buttons buttons) = 0;
  // One turn of the event loop: repaint, and let Stop or Exit set the flag.
  virtual void Do_events() {}

  // An edit case: the records of the chosen page, read; the front end opens
  // the record editor on them.
  virtual void Edit_records(RecordTable&& /*records*/) {}
};

}  // namespace zendrel
