#include "cli/build_command.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "build/make_archive.h"
#include "cli/cli_host.h"
#include "cli/open_in_browser.h"
#include "cli/options.h"
#include "platform/drive_table.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/win_path.h"

namespace zendrel::cli {

std::string Windows_view(const DriveTable& drives, const std::string& path) {
  bool windows = path.size() >= 2 && path[1] == ':';
  if (windows) return path;
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  std::string native = (ec ? std::filesystem::path(path) : absolute).lexically_normal().string();
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  return Windows_path(drives, native);
}

bool Apply_drive_options(const std::vector<std::string>& drives, DriveTable& table, Streams& io) {
  for (const std::string& drive : drives) {
    if (!table.Set_from_text(drive)) {
      io.err << "zendrel: --drive " << drive << ": expected L=DIR[:LABEL] with DIR absolute\n";
      return false;
    }
  }
  return true;
}

std::optional<std::string> Exact_windows_view(const DriveTable& drives, const std::string& path,
                                              std::string* error) {
  std::string view = Windows_view(drives, path);
  bool windows = path.size() >= 2 && path[1] == ':';
  if (!windows) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    std::string native = (ec ? std::filesystem::path(path) : absolute).lexically_normal().string();
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    auto back = Native_target_path(drives, view);
    if (back) {
      while (back->size() > 1 && back->back() == '/') back->pop_back();
    }
    if (!back || *back != native) {
      *error = path + ": the name holds characters that the system's text cannot carry";
      return std::nullopt;
    }
  }
  return view;
}

// Makes a missing destination directory, as a user naming a new one expects,
// under exactly the name given: an existing directory whose name differs
// only in case is another directory.
std::string Make_destination(const DriveTable& drives, const std::string& dest) {
  auto native = Native_target_path(drives, dest);
  if (!native) return dest + ": no drive is set for this path";
  struct stat existing;
  if (::stat(native->c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) return {};
    return dest + ": is not a directory";
  }
  std::error_code ec;
  if (!std::filesystem::create_directories(*native, ec))
    return dest + ": the destination directory cannot be made" +
           (ec ? " (" + ec.message() + ")" : std::string());
  return {};
}

// Skipped pictures leave no line in the archive; the user hears of them here.
void Tell_skipped(const SkippedFiles& skipped, bool verbose, Streams& io) {
  if (skipped.count() == 0) return;
  io.out.flush();
  if (verbose) {
    std::vector<std::string> lines = skipped.Lines();
    for (size_t i = 0; i < lines.size(); ++i) {
      bool archived = skipped.entries()[i].reason == SkipReason::kArchivedIncomplete;
      io.err << "zendrel: " << (archived ? "archived " : "skipped ")
             << Message_for_terminal(lines[i]) << "\n";
    }
  }
  std::vector<std::string> lines = skipped.Summary_lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    io.err << "zendrel: " << lines[i];
    if (!verbose && i + 1 == lines.size()) io.err << " (--verbose names them)";
    io.err << "\n";
  }
}

int Build_command(const std::vector<std::string>& args, Streams& io) {
  Options options(args, {"source", "dest", "catalog", "copy", "drive", "jobs"},
                  {"rebuild", "metadata", "open", "verbose"});
  if (!options.ok()) {
    io.err << "zendrel build: " << options.error() << "\n";
    return 2;
  }
  // The run's table: the defaults, then the --drive options.
  DriveTable drives = DriveTable::Defaults();
  if (!Apply_drive_options(options.All("drive"), drives, io)) return 2;
  auto dest = options.Get("dest");
  auto source = options.Get("source");
  auto catalog = options.Get("catalog");
  if (!dest || (!source && !catalog)) {
    io.err << "zendrel build: give --dest DIR and --source DIR or --catalog FILE\n";
    return 2;
  }
  if (catalog && options.Has("metadata")) {
    io.err << "zendrel build: --metadata reads the pictures of --source without --catalog\n";
    return 2;
  }
  CliHost host(io);
  host.request.drives = drives;
  std::string unfit;
  auto exact_dest = Exact_windows_view(drives, *dest, &unfit);
  if (!exact_dest) {
    io.err << "zendrel: " << unfit << "\n";
    return 1;
  }
  host.request.dest_dir = *exact_dest;
  if (source) host.request.src_dir = Windows_view(drives, *source);
  if (catalog) {
    std::string path = Windows_view(drives, *catalog);
    host.request.cat_dir = Directory_part(path);
    if (host.request.cat_dir.size() == 2) host.request.cat_dir += "\\";  // a drive's root
    host.request.cat_file = File_part(path);
    host.request.mode = source ? RunMode::kCatalogueFromSource : RunMode::kCatalogue;
  } else {
    host.request.mode = RunMode::kSourceDirectory;
  }
  std::string copy = options.Get("copy").value_or("rename");
  if (copy == "no")
    host.copy_answer = CopyMode::kNoCopy;
  else if (copy == "keep")
    host.copy_answer = CopyMode::kKeepNames;
  else if (copy == "rename")
    host.copy_answer = CopyMode::kUniqueNames;
  else {
    io.err << "zendrel build: --copy takes no, keep or rename\n";
    return 2;
  }
  // Checked before anything is made: a mistyped source, with a catalogue,
  // would otherwise give a page without pictures over the existing archive.
  if (source && !Directory_exists(drives, host.request.src_dir)) {
    io.err << "zendrel: " << Message_for_terminal(host.request.src_dir + ": no such directory")
           << "\n";
    return 1;
  }
  if (auto made = Make_destination(drives, host.request.dest_dir); !made.empty()) {
    io.err << "zendrel: " << Message_for_terminal(made) << "\n";
    return 1;
  }
  host.request.rebuild = options.Has("rebuild");
  host.request.take_metadata = options.Has("metadata");
  if (auto jobs = options.Get("jobs")) {
    char* end = nullptr;
    long n = std::strtol(jobs->c_str(), &end, 10);
    if (jobs->empty() || *end != '\0' || n < 1 || n > 256) {
      io.err << "zendrel build: --jobs takes a number from 1 to 256\n";
      return 2;
    }
    host.request.jobs = int(n);
  }
  host.Catch_interrupt();
  RunOutcome outcome = host.Run();
  host.Finish_progress();
  switch (outcome.end) {
    case RunEnd::kCompleted:
      io.out << Message_for_terminal(host.status()) << "\n";
      Tell_skipped(host.skipped, options.Has("verbose"), io);
      if (host.metadata_damaged > 0) {
        if (options.Has("verbose"))
          for (const std::string& file : host.metadata_damaged_files)
            io.err << "zendrel: damaged metadata in " << Message_for_terminal(file) << "\n";
        io.err << "zendrel: " << host.metadata_damaged
               << (host.metadata_damaged == 1 ? " picture" : " pictures")
               << " archived with only the part of their metadata that was not damaged"
               << (options.Has("verbose") ? "" : " (--verbose names them)") << "\n";
      }
      if (options.Has("open")) {
        Status opened =
            Open_in_browser(drives, Add_backslash(host.request.dest_dir) + "archive.htm");
        if (!opened.ok()) {
          io.err << "zendrel: " << Message_for_terminal(opened.message()) << "\n";
          return 1;
        }
      }
      return outcome.message.empty() ? 0 : 1;
    case RunEnd::kStopped:
      // The page is complete but holds only the pictures before Ctrl-C:
      // scripts tell it from a finished archive by the status of SIGINT.
      io.out << Message_for_terminal(host.status()) << "\n";
      return kInterruptedStatus;
    case RunEnd::kEdited:
      return 0;
    case RunEnd::kRefused:
    case RunEnd::kFailed:
      return 1;
  }
  return 1;
}

}  // namespace zendrel::cli
