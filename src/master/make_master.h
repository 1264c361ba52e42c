// The master archive: the record lines of the archive pages in the
// destination's subdirectories, copied into one page.
#pragma once

#include "build/run_context.h"
#include "platform/status.h"

namespace zendrel {

// Writes to the run's page and staging file; counts one per page read and
// checks the stop request after each.
Status Make_master(RunContext& run);

}  // namespace zendrel
