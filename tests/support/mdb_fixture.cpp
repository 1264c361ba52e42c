#include "support/mdb_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

namespace zendrel::testing {

std::string Make_mdb(const TempDir& dir, const std::string& relative, const std::string& json) {
  std::string description = dir.Write(relative + ".json", json);
  std::string out = dir.Native(relative);
  // The system's interpreter starts faster than a version manager's shim.
  std::string python = access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
  std::string command =
      python + " '" ZENDREL_SHARED_DIR "/tools/mdbgen.py' '" + out + "' '@" + description + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return out;
}

}  // namespace zendrel::testing
