#include "master/make_master.h"

namespace zendrel {
// Placeholder until the master archive lands.
Status Make_master(RunContext&) { return Status::Error("master archives cannot be made yet"); }
}  // namespace zendrel
