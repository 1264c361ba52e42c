// The core tests' main: a child process of a test is an exec of this
// program, which then plays the child's role instead of running tests.
#include <gtest/gtest.h>

#include "platform/child_process.h"

int main(int argc, char** argv) {
  if (auto status = zendrel::Run_child_role_if_asked(argc, argv)) return *status;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
