// What the master archive needs of the run that writes it: its page and
// staging file, the destination whose subdirectories it combines, the count
// it shows and the stop request it checks. The build driver provides it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/drive_table.h"
#include "platform/output_file.h"

namespace zendrel {

class MasterRun {
 public:
  virtual ~MasterRun() = default;

  virtual OutputFile& page() = 0;
  virtual OutputFile& staging() = 0;
  virtual std::string Dest_dir() = 0;  // Windows view
  // The run's drive table, through which its paths reach the disk.
  virtual const DriveTable& Drives() = 0;
  // How many subdirectory pages there are to read.
  virtual void Expect_pages(int32_t /*total*/) {}
  // Shows the count after each page read.
  virtual void Count_one() = 0;
  // One turn of the event loop.
  virtual void Do_events() = 0;
  virtual bool Stop_requested() = 0;
};

}  // namespace zendrel
