#include "support/exiftool.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace zendrel::testing {

bool Have_exiftool() {
  static const bool found = std::system("exiftool -ver >/dev/null 2>&1") == 0;
  return found;
}

bool Run_exiftool(const std::vector<std::vector<std::string>>& commands) {
  std::string arg_file = "/tmp/zendrel-exiftool-" + std::to_string(getpid()) + ".args";
  {
    std::ofstream out(arg_file, std::ios::binary);
    for (size_t i = 0; i < commands.size(); ++i) {
      if (i > 0) out << "-execute\n";
      out << "-q\n-q\n-overwrite_original\n-charset\niptc=UTF8\n";
      for (const std::string& arg : commands[i]) out << arg << "\n";
    }
  }
  int status = std::system(("exiftool -@ '" + arg_file + "' >/dev/null 2>&1").c_str());
  std::remove(arg_file.c_str());
  return status == 0;
}

}  // namespace zendrel::testing
