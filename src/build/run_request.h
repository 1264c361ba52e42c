// What one run is asked to do, taken whole when it starts: the window (or
// the command line) fills it at Go, and the run reads only this value, so
// a click on another folder during a run cannot move it.
#pragma once

#include <string>

#include "build/run_modes.h"
#include "platform/drive_table.h"

namespace zendrel {

struct LabelDriveTable;

struct RunRequest {
  RunMode mode = RunMode::kSourceDirectory;
  std::string cat_dir;   // Windows view, no trailing "\" unless a root
  std::string cat_file;  // the chosen file's name; empty when none is chosen
  std::string src_dir;   // Windows view
  std::string dest_dir;  // Windows view
  // Set by the run from the answer to the copy question, before anything is
  // written (no copy where the question is not asked).
  CopyMode copy_mode = CopyMode::kNoCopy;
  int jobs = 0;                // scaling threads; 0: one per core
  bool rebuild = false;        // make anew copies that an earlier run left in place
  bool take_metadata = false;  // the directory scan reads the pictures' own descriptions
  // The volume labels the ThumbsPlus export has matched to drives; kept by
  // the front end across runs. Null: a table for this run alone.
  LabelDriveTable* label_drives = nullptr;
  // Which native directory each drive letter stands for, as the front end
  // set it up; every path of the run goes through it. An empty table
  // reaches no file at all.
  DriveTable drives;
};

}  // namespace zendrel
