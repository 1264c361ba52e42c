// zendrel master DIR: one archive page in DIR over the archives of its
// subdirectories, made by the run driver as the window's master mode does.
#include <ostream>

#include "build/make_archive.h"
#include "cli/build_command.h"
#include "cli/cli_host.h"
#include "cli/command.h"
#include "cli/options.h"
#include "platform/file_system.h"

namespace zendrel::cli {

int Master_command(const std::vector<std::string>& args, Streams& io) {
  Options options(args, {"drive"}, {});
  if (!options.ok()) {
    io.err << "zendrel master: " << options.error() << "\n";
    return 2;
  }
  if (options.positional().size() != 1) {
    io.err << "zendrel master: give one directory: the one whose subdirectories hold archives\n";
    return 2;
  }
  DriveTable drives = DriveTable::Defaults();
  if (!Apply_drive_options(options.All("drive"), drives, io)) return 2;
  CliHost host(io);
  host.request.drives = drives;
  host.request.mode = RunMode::kMaster;
  std::string unfit;
  auto exact = Exact_windows_view(drives, options.positional()[0], &unfit);
  if (!exact) {
    io.err << "zendrel: " << unfit << "\n";
    return 1;
  }
  host.request.dest_dir = *exact;
  if (!Directory_exists(drives, host.request.dest_dir)) {
    io.err << "zendrel: " << Message_for_terminal(host.request.dest_dir + ": no such directory")
           << "\n";
    return 1;
  }
  host.Catch_interrupt();
  RunOutcome outcome = host.Run();
  host.Finish_progress();
  if (outcome.end != RunEnd::kCompleted && outcome.end != RunEnd::kStopped) return 1;
  io.out << Message_for_terminal(host.status()) << "\n";
  if (outcome.end == RunEnd::kStopped) return kInterruptedStatus;
  return outcome.message.empty() ? 0 : 1;
}

}  // namespace zendrel::cli
