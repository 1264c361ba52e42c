#include <ostream>
#include <string>

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
       "[--copy no|keep|rename] [--drive L=DIR[:LABEL]]... [--jobs N] [--rebuild] [--metadata] "
       "[--open] [--verbose]",
       "make an archive from a directory of JPEG files or from a catalogue",
       "  --source DIR        the directory of the pictures\n"
       "  --dest DIR          the archive directory; made when missing\n"
       "  --catalog FILE      a catalogue file; its type comes from its extension\n"
       "  --copy no|keep|rename\n"
       "                      also copy the originals: not at all, under their own names,\n"
       "                      or under unique 8.3 names (the default)\n"
       "  --drive L=DIR[:LABEL]\n"
       "                      drive letter L of catalogue paths stands for DIR, carrying\n"
       "                      the volume label LABEL; may be given several times\n"
       "  --jobs N            scale pictures on N threads (default: one per core)\n"
       "  --rebuild           make every display copy and thumbnail anew\n"
       "  --metadata          take titles, keywords, categories, comments, authors and\n"
       "                      dates from the pictures' EXIF, IPTC and XMP (--source alone)\n"
       "  --open              open the finished archive.htm in the web browser\n"
       "  --verbose           name each file that was skipped, and why\n",
       Build_command},
      {"demo", "demo [DIR]", "build an archive from sample pictures into DIR (./zendrel-demo)", "",
       Demo_command},
      {"master", "master DIR [--drive L=DIR[:LABEL]]...",
       "make one archive page in DIR over the archives of its subdirectories",
       "  --drive L=DIR[:LABEL]\n"
       "                      drive letter L stands for DIR; may be given several times\n",
       Master_command},
      {"records", "records DIR", "list the records of DIR's archive.htm, fields 1 to 10 by tabs",
       "", Records_command},
      {"edit",
       "edit DIR --record N [--title T] [--keywords K] [--category C] [--comment X] "
       "[--author A] [--date D]",
       "change the descriptions of one record of DIR's archive",
       "  --record N          the record number, from 1\n"
       "  --title T, --keywords K, --category C, --comment X, --author A, --date D\n"
       "                      new values; fields not given keep theirs. Dates are taken as\n"
       "                      12/25/1999, 1999-12-25, December 25, 1999, Dec 25, 1999 or\n"
       "                      25 December 1999\n",
       Edit_command},
      {"delete", "delete DIR --record N --yes", "delete one record of DIR's archive",
       "  --record N          the record number, from 1\n"
       "  --yes               delete without asking\n",
       Delete_command},
  };
  return commands;
}

namespace {

void Print_help(std::ostream& out) {
  out << "Usage: zendrel [COMMAND] [OPTIONS]\n"
         "Without a command, or with gui, starts the desktop program.\n\nCommands:\n";
  for (const Command& c : Commands()) {
    std::string name = c.name;
    out << "  " << name << std::string(10 - name.size(), ' ') << c.summary << "\n";
  }
  out << "\n  --help    this list; zendrel COMMAND --help shows a command's options\n"
         "  --version the version\n\n"
         "ZENDREL_DRIVES=\"D=/mnt/cd:LABEL;E=/data\" adds drives; C: is / by default.\n";
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
      if (*c.options) io.out << "\nOptions:\n" << c.options;
      return 0;
    }
    return c.run(rest, io);
  }
  io.err << "zendrel: unknown command " << args[0] << " (zendrel --help lists them)\n";
  return 2;
}

}  // namespace zendrel::cli
