// A front end for tests: the request's settings are fields, the status line
// and the Go caption are kept as the window shows them, message boxes are
// recorded and answered from a queue, and hooks run at the event-loop turn
// and when a message box opens. Make_archive, Go_Click and Exit_Click do
// what the window's buttons do.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "build/make_archive.h"
#include "catalog/label_drive_table.h"
#include "page/record_table.h"
#include "support/temp_dir.h"

namespace zendrel::testing {

class ScriptedHost : public RunObserver {
 public:
  int mode = 3;
  std::string cat_dir, cat_file, src_dir, dest_dir;
  int16_t copy_answer = 0;  // what the copy question answers
  int jobs = 0;
  bool rebuild = false;
  bool take_metadata = false;
  LabelDriveTable labels;             // kept across runs, as the window keeps it
  DriveTable drives = Root_drives();  // this host's own, handed to each run

  std::string go = "Go";  // "Go", "Stop", or empty while a stop is asked for
  std::string status;
  int copy_questions = 0;
  int editor_shown = 0;
  RecordTable edited;  // the records of the last edit case
  int events = 0;
  std::vector<std::pair<int32_t, int32_t>> progress;  // done, total
  std::vector<std::string> messages;
  std::deque<Answer> answers;                          // for Retry/Cancel and Yes/No boxes
  std::function<void(ScriptedHost&)> on_events;        // runs at each event-loop turn
  std::function<void(const std::string&)> on_message;  // runs as a message box opens
  StopRequest* stop = nullptr;                         // the run's, while one is under way

  RunRequest Request() {
    RunRequest r;
    r.mode = RunMode(mode);
    r.cat_dir = cat_dir;
    r.cat_file = cat_file;
    r.src_dir = src_dir;
    r.dest_dir = dest_dir;
    r.jobs = jobs;
    r.rebuild = rebuild;
    r.take_metadata = take_metadata;
    r.label_drives = &labels;
    r.drives = drives;
    return r;
  }
  // The Stop button during a run.
  void Stop() {
    if (stop) stop->Request();
    go.clear();
  }

  void Status(const std::string& text) override { status = text; }
  void Running(bool running) override {
    go = !running ? "Go" : stop && stop->Requested() ? "" : "Stop";
  }
  void Progress(int32_t done, int32_t total) override { progress.emplace_back(done, total); }
  CopyMode Ask_copy_originals() override {
    ++copy_questions;
    return CopyMode(copy_answer);
  }
  Answer Message_box(const std::string& text, Buttons buttons) override {
    messages.push_back(text);
    if (on_message) on_message(text);
    if (buttons == Buttons::kOk) return Answer::kOk;
    if (answers.empty()) return buttons == Buttons::kYesNo ? Answer::kNo : Answer::kCancel;
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  void Do_events() override {
    ++events;
    if (on_events) on_events(*this);
  }
  void Edit_records(RecordTable&& records) override {
    ++editor_shown;
    edited = std::move(records);
  }
};

// Go pressed while idle: one run of the host's settings.
inline RunOutcome Make_archive(ScriptedHost& host) {
  StopRequest stop;
  host.stop = &stop;
  RunOutcome outcome = ::zendrel::Make_archive(host.Request(), host, stop);
  host.stop = nullptr;
  return outcome;
}

// The Go button: a run when idle, otherwise a stop request.
inline RunOutcome Go_Click(ScriptedHost& host) {
  if (host.go == "Go") return Make_archive(host);
  host.Stop();
  return {RunEnd::kStopped, ""};
}

// The Exit button: true when the program is to end now (idle); during a run
// it asks for a stop instead.
inline bool Exit_Click(ScriptedHost& host) {
  if (host.go == "Go") return true;
  host.Stop();
  return false;
}

}  // namespace zendrel::testing
