#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "platform/child_process.h"

#ifdef ZENDREL_WITH_GUI
#include "app/desktop.h"
#endif

int main(int argc, char** argv) {
  // A child process of a run: nothing of the front ends.
  if (auto status = zendrel::Run_child_role_if_asked(argc, argv)) return *status;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "gui") {
#ifdef ZENDREL_WITH_GUI
    return zendrel::Run_desktop(argc, argv);
#else
    std::cerr << "zendrel: this build has no desktop program; zendrel --help lists the commands\n";
    return 2;
#endif
  }
  zendrel::cli::Streams io{std::cout, std::cerr, ::isatty(STDOUT_FILENO) != 0};
  return zendrel::cli::Run_command_line(args, io);
}
