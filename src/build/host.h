// The host: what the core needs of the window that runs it. The Qt main
// window, the command line and the tests each implement it. Every call comes
// on the run's own thread (the user-interface thread in the desktop program).
#pragma once

#include <cstdint>
#include <string>

#include "build/run_modes.h"
#include "build/skipped_files.h"
#include "platform/message_buttons.h"

namespace zendrel {

struct LabelDriveTable;

class Host {
 public:
  virtual ~Host() = default;

  // Read afresh at each use, as the window stays live during a run.
  virtual RunMode Mode() = 0;
  virtual std::string Cat_dir() = 0;   // Windows view, no trailing "\" unless a root
  virtual std::string Cat_file() = 0;  // selected file name; empty when none
  virtual std::string Src_dir() = 0;
  virtual std::string Dest_dir() = 0;

  // "Go" idle, "Stop" running, empty while a stop is requested.
  virtual std::string Go_caption() = 0;
  virtual void Set_go_caption(const std::string& caption) = 0;
  virtual std::string Status_caption() = 0;
  virtual void Set_status_caption(const std::string& caption) = 0;

  virtual CopyMode Copy_mode() = 0;
  virtual void Set_copy_mode(CopyMode mode) = 0;
  // The copy-originals question, modal; sets Copy_mode.
  virtual void Ask_copy_originals() = 0;

  // Title "Zendrel", no icon.
  virtual Answer Message_box(const std::string& text, Buttons buttons) = 0;
  // One turn of the event loop: repaint, and let Go or Exit request a stop.
  virtual void Do_events() = 0;

  // Worker threads that scale pictures ahead of the run (0: one per core),
  // and whether to make anew copies that an earlier run left in place.
  virtual int Jobs() { return 0; }
  virtual bool Rebuild() { return false; }
  // Whether the directory scan takes titles, keywords, comments, authors
  // and dates from the pictures' own metadata.
  virtual bool Take_metadata() { return false; }

  // A file that a source delivered and the run could not archive (or
  // archived with a remark); `detail` holds the reason's particulars. The
  // page and catalogue hold no line for a skipped file; the host tells the
  // user after the run.
  virtual void Picture_skipped(const std::string& /*file*/, SkipReason /*reason*/,
                               const std::string& /*detail*/) {}
  // Pictures archived with only the part of their metadata that could be
  // read; the host tells the user after the run.
  virtual void Metadata_damaged(int32_t /*pictures*/) {}
  // One of them, by its path as the source gave it.
  virtual void Metadata_damaged_file(const std::string& /*file*/) {}
  // After each picture (each page in the master): how many are done, and of
  // how many (-1 while the total is not known).
  virtual void Progress(int32_t /*done*/, int32_t /*total*/) {}

  // Opens the record editor on the records just read into the RecordTable.
  virtual void Show_record_editor() = 0;
  virtual LabelDriveTable& Label_drives() = 0;
};

}  // namespace zendrel
