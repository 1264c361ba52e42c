// The command line's side of a run: the request made from the options,
// messages on standard error, a progress line ("128 of 500 pictures")
// while standard output is a terminal, and Ctrl-C as the Stop button.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "build/make_archive.h"
#include "cli/command.h"

namespace zendrel::cli {

class CliHost : public RunObserver {
 public:
  explicit CliHost(Streams& io) : io_(io) {}

  RunRequest request;                             // Windows view paths
  CopyMode copy_answer = CopyMode::kUniqueNames;  // what the copy question is answered
  Answer yes_no_answer = Answer::kNo;
  SkippedFiles skipped;          // what the run left out, told after it
  int32_t metadata_damaged = 0;  // pictures archived with part of their metadata
  std::vector<std::string> metadata_damaged_files;

  // Runs the request to its end, or to Ctrl-C.
  RunOutcome Run() { return Make_archive(request, *this, stop_); }
  // The status line as the run left it, e.g. "12 Done!".
  const std::string& status() const { return status_; }
  bool stop_requested() const { return stop_.Requested(); }

  void Status(const std::string& text) override { status_ = text; }
  void Progress(int32_t done, int32_t total) override;
  CopyMode Ask_copy_originals() override { return copy_answer; }
  Answer Message_box(const std::string& text, Buttons buttons) override;
  void Do_events() override;
  void Picture_skipped(const std::string& file, SkipReason reason,
                       const std::string& detail) override {
    skipped.Add(file, reason, detail);
  }
  void Metadata_damaged(int32_t pictures) override { metadata_damaged = pictures; }
  void Metadata_damaged_file(const std::string& file) override {
    metadata_damaged_files.push_back(file);
  }

  // Ctrl-C requests a stop while this host runs; a second one ends the
  // program at once. Restored on destruction.
  void Catch_interrupt();
  ~CliHost() override;

  // Ends the progress line before other output.
  void Finish_progress();

 private:
  Streams& io_;
  StopRequest stop_;
  std::string status_;
  bool progress_shown_ = false;
  bool catching_ = false;
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

// The message text of the system, as the command line prints it (the
// carriage return of a two-line message becomes a line break).
std::string Message_for_terminal(const std::string& text);

}  // namespace zendrel::cli
