// The run driver: one build, as the request asks it, reported to the
// observer and stopped by the stop request.
#pragma once

#include <string>

#include "build/run_observer.h"
#include "build/run_request.h"

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

// One whole run, as the Go button starts it. The request is copied when
// the run starts; the stop request is read after each picture.
RunOutcome Make_archive(const RunRequest& request, RunObserver& observer, const StopRequest& stop);

}  // namespace zendrel
