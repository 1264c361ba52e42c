// Access databases for tests, written at test time by the shared mdbgen.py
// from a JSON description (see the shared tools' README).
#pragma once

#include <string>

#include "support/temp_dir.h"

namespace zendrel::testing {

// Writes `relative` in `dir` from `json`; returns its native path. Fails the
// running test when the generator does.
std::string Make_mdb(const TempDir& dir, const std::string& relative, const std::string& json);

}  // namespace zendrel::testing
