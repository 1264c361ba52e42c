// zendrel demo [DIR]: an archive built from sample pictures the program
// draws itself, to see what Zendrel makes without pictures of one's own.
#include <filesystem>
#include <ostream>

#include "cli/build_command.h"
#include "cli/command.h"
#include "imaging/sample_pictures.h"

namespace zendrel::cli {

int Demo_command(const std::vector<std::string>& args, Streams& io) {
  std::string dir = args.empty() ? "zendrel-demo" : args[0];
  std::error_code ec;
  std::filesystem::path root = std::filesystem::absolute(dir, ec);
  std::filesystem::path pictures = root / "sample-pictures";
  std::filesystem::path archive = root / "archive";
  Status made = Write_samples(pictures.string(), Demo_samples());
  if (!made.ok()) {
    io.err << "zendrel demo: " << made.message() << "\n";
    return 1;
  }
  std::filesystem::create_directories(archive, ec);
  if (ec) {
    io.err << "zendrel demo: " << archive.string() << ": " << ec.message() << "\n";
    return 1;
  }
  int status = Build_command(
      {"--source", pictures.string(), "--dest", archive.string(), "--copy", "no"}, io);
  if (status != 0) return status;
  io.out << "Open " << (archive / "archive.htm").string() << " in a web browser.\n";
  return 0;
}

}  // namespace zendrel::cli
