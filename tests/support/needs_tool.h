// For tests that need a program the machine may lack (exiftool, mdbtools):
// locally such a test is skipped and says what is missing; under CI
// (CI=true) it fails, since there every check must run.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

namespace zendrel::testing {

inline bool Under_ci() {
  const char* ci = std::getenv("CI");
  return ci && std::string_view(ci) == "true";
}

}  // namespace zendrel::testing

// Ends the test unless `available`; `what` names the missing program and
// its package.
#define ZENDREL_NEEDS_TOOL(available, what)                                     \
  do {                                                                          \
    if (!(available)) {                                                         \
      if (::zendrel::testing::Under_ci()) FAIL() << what << " is missing (CI)"; \
      GTEST_SKIP() << what << " is missing";                                    \
    }                                                                           \
  } while (0)
