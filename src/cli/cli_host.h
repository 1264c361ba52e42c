// The command line's host: fixed settings from the options, messages on
// standard error, a progress line while standard output is a terminal, and
// Ctrl-C as the Stop button.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "build/host.h"
#include "catalog/label_drive_table.h"
#include "cli/command.h"

namespace zendrel::cli {

class CliHost : public Host {
 public:
  explicit CliHost(Streams& io) : io_(io) {}

  // Settings of the run (Windows view paths).
  RunMode mode = RunMode::kSourceDirectory;
  std::string cat_dir, cat_file, src_dir, dest_dir;
  CopyMode copy_answer = CopyMode::kUniqueNames;  // what the copy question is answered
  Answer yes_no_answer = Answer::kNo;
  int jobs = 0;  // scaling threads; 0: one per core
  bool rebuild = false;
  bool take_metadata = false;
  SkippedFiles skipped;          // what the run left out, told after it
  int32_t metadata_damaged = 0;  // pictures archived with part of their metadata
  std::vector<std::string> metadata_damaged_files;

  RunMode Mode() override { return mode; }
  std::string Cat_dir() override { return cat_dir; }
  std::string Cat_file() override { return cat_file; }
  std::string Src_dir() override { return src_dir; }
  std::string Dest_dir() override { return dest_dir; }
  std::string Go_caption() override { return go_; }
  void Set_go_caption(const std::string& caption) override { go_ = caption; }
  std::string Status_caption() override { return status_; }
  void Set_status_caption(const std::string& caption) override;
  CopyMode Copy_mode() override { return copy_mode_; }
  void Set_copy_mode(CopyMode mode) override { copy_mode_ = mode; }
  void Ask_copy_originals() override { copy_mode_ = copy_answer; }
  Answer Message_box(const std::string& text, Buttons buttons) override;
  void Do_events() override;
  int Jobs() override { return jobs; }
  bool Rebuild() override { return rebuild; }
  bool Take_metadata() override { return take_metadata; }
  void Picture_skipped(const std::string& file, SkipReason reason,
                       const std::string& detail) override {
    skipped.Add(file, reason, detail);
  }
  void Metadata_damaged(int32_t pictures) override { metadata_damaged = pictures; }
  void Metadata_damaged_file(const std::string& file) override {
    metadata_damaged_files.push_back(file);
  }
  void Show_record_editor() override {}
  LabelDriveTable& Label_drives() override { return labels_; }

  // Ctrl-C requests a stop while this host runs; a second one ends the
  // program at once. Restored on destruction.
  void Catch_interrupt();
  ~CliHost() override;

  // Ends the progress line before other output.
  void Finish_progress();

 private:
  Streams& io_;
  std::string go_ = "Go";
  std::string status_;
  CopyMode copy_mode_ = CopyMode::kNoCopy;
  LabelDriveTable labels_;
  bool progress_shown_ = false;
  bool catching_ = false;
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

// The message text of the system, as the command line prints it (the
// carriage return of a two-line message becomes a line break).
std::string Message_for_terminal(const std::string& text);

}  // namespace zendrel::cli
