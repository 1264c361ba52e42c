// The command line: one small handler per subcommand, writing to streams
// that tests replace, so the commands are tested in the same process.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zendrel::cli {

struct Streams {
  std::ostream& out;
  std::ostream& err;
  bool out_is_terminal = false;  // progress lines only on a terminal
};

// The exit status of a run stopped by Ctrl-C, as a shell gives a program
// that SIGINT ended: the page was completed with the pictures before it.
constexpr int kInterruptedStatus = 130;

struct Command {
  const char* name;
  const char* usage;    // one line: "build --source DIR --dest DIR [...]"
  const char* summary;  // one line
  const char* options;  // one "  --name  meaning" line per option, as the manual page has them
  int (*run)(const std::vector<std::string>& args, Streams& io);
};

// Every subcommand, in the order --help lists them.
const std::vector<Command>& Commands();

// Runs `args` (without the program name); the exit status.
int Run_command_line(const std::vector<std::string>& args, Streams& io);

}  // namespace zendrel::cli
