// One run of the command line with its output kept, for the command tests.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"

namespace zendrel::testing {

struct CliRun {
  std::ostringstream out, err;
  int status = 0;
  explicit CliRun(const std::vector<std::string>& args, bool terminal = false) {
    cli::Streams io{out, err, terminal};
    status = cli::Run_command_line(args, io);
  }
};

}  // namespace zendrel::testing
