// The run driver: one build from the host's settings, and what the Go and
// Exit buttons do.
#pragma once

#include <string>

#include "build/host.h"

namespace zendrel {

enum class RunEnd {
  kCompleted,  // the page was completed (also after a stop)
  kStopped,    // completed after a stop request
  kRefused,    // ended before anything was written (a message was shown)
  kEdited,     // an edit case: the page was read and the editor opened
  kFailed,     // the run could not be done; the previous archive is intact
};

struct RunOutcome {
  RunEnd end = RunEnd::kCompleted;
  std::string message;  // the message shown, if any
};

// One whole run, as the Go button starts it.
RunOutcome Make_archive(Host& host);

// The Go button: runs when idle, otherwise requests a stop.
RunOutcome Go_Click(Host& host);
// The Exit button: true when the program is to end now (idle); during a run
// it requests a stop instead.
bool Exit_Click(Host& host);

}  // namespace zendrel
