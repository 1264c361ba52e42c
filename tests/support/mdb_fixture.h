// Access databases for tests, written into a test's directory.
#pragma once

#include <string>
#include <vector>

#include "catalog/fixtures/mdb_writer.h"
#include "support/temp_dir.h"

namespace zendrel::testing {

// Writes `relative` in `dir` holding `tables`; returns its native path.
// Fails the running test when the description cannot be written.
std::string Make_mdb(const TempDir& dir, const std::string& relative,
                     const std::vector<MdbTableLayout>& tables);

}  // namespace zendrel::testing
