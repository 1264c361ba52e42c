#include "support/mdb_fixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zendrel::testing {

std::string Make_mdb(const TempDir& dir, const std::string& relative,
                     const std::vector<MdbTableLayout>& tables) {
  try {
    return dir.Write(relative, Mdb_database(tables));
  } catch (const std::invalid_argument& refused) {
    ADD_FAILURE() << refused.what();
    return dir.Native(relative);
  }
}

}  // namespace zendrel::testing
