// The master archive: the record lines of the archive pages in the
// destination's subdirectories, copied into one page, with each picture's
// thumb and file made relative to the master page.
#pragma once

#include <string>

#include "master/master_run.h"
#include "platform/output_file.h"
#include "platform/status.h"

namespace zendrel {

// Writes to the run's page and staging file; counts one per page read and
// checks the stop request after each. A subdirectory page that cannot be
// read, or holds a record beyond the limits, ends the copying there; a
// subdirectory whose name the page could not carry is left out. Either way
// the result names the page or the directory and the cause, and what was
// copied stays in the page.
Status Make_master(MasterRun& run);

// One catalogue line of archive.txt from the joined text of a copied record
// (its five lines joined without separators). More than ten values is an
// error, and nothing is written.
Status Add_master_catalogue_line(OutputFile& staging, const std::string& joined);

}  // namespace zendrel
