#include <ostream>

#include "cli/archive_commands.h"
#include "cli/build_command.h"
#include "cli/command.h"
#include "version.h"

namespace zendrel::cli {

int Demo_command(const std::vector<std::string>& args, Streams& io);
int Master_command(const std::vector<std::string>& args, Streams& io);

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"build",
       "build --source DIR --dest DIR | --catalog FILE --dest DIR [--source DIR] "
       "[--copy no|keep|rename] [--drive L=DIR[:LABEL]]... [--jobs N] [--rebuild]",
       "make an archive from a directory of JPEG files or from a catalogue", Build_command},
      {"demo", "demo [DIR]", "build an archive from sample pictures into DIR (./zendrel-demo)",
       Demo_command},
      {"records", "records DIR", "list the records of DIR's archive.htm, fields 1 to 10 by tabs",
       Records_command},
      {"edit",
       "edit DIR --record N [--title T] [--keywords K] [--category C] [--comment X] "
       "[--author A] [--date D]",
       "change the descriptions of one record of DIR's archive", Edit_command},
      {"delete", "delete DIR --record N --yes", "delete one record of DIR's archive",
       Delete_command},
      {"master", "master DIR [--drive L=DIR[:LABEL]]...",
       "make one archive page in DIR over the archives of its subdirectories", Master_command},
  };
  return commands;
}

namespace {

void Print_help(std::ostream& out) {
  out << "Usage: zendrel [COMMAND] [OPTIONS]\n"
         "Without a command, starts the desktop program.\n\nCommands:\n";
  for (const Command& c : Commands()) out << "  " << c.name << "\t" << c.summary << "\n";
  out << "\nzendrel COMMAND --help shows a command's options.\n";
}

}  // namespace

int Run_command_line(const std::vector<std::string>& args, Streams& io) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    Print_help(io.out);
    return 0;
  }
  if (args[0] == "--version") {
    io.out << "Zendrel " << ZENDREL_VERSION_TEXT << "\n";
    return 0;
  }
  for (const Command& c : Commands()) {
    if (args[0] != c.name) continue;
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (!rest.empty() && (rest[0] == "--help" || rest[0] == "-h")) {
      io.out << "Usage: zendrel " << c.usage << "\n" << c.summary << "\n";
      return 0;
    }
    return c.run(rest, io);
  }
  io.err << "zendrel: unknown command " << args[0] << " (zendrel --help lists them)\n";
  return 2;
}

}  // namespace zendrel::cli
