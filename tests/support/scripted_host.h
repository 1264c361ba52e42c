// A host for tests: settings are fields, message boxes are recorded and
// answered from a queue, and hooks run at the event-loop turn and when the
// copy question is asked.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "build/host.h"
#include "catalog/label_drive_table.h"

namespace zendrel::testing {

class ScriptedHost : public Host {
 public:
  int mode = 3;
  std::string cat_dir, cat_file, src_dir, dest_dir;
  std::string go = "Go";
  std::string status;
  int16_t copy_mode = 0;
  int16_t copy_answer = 0;  // what the copy question answers
  int copy_questions = 0;
  int editor_shown = 0;
  int jobs = 0;
  bool rebuild = false;
  int events = 0;
  std::vector<std::string> messages;
  std::deque<Answer> answers;                          // for Retry/Cancel and Yes/No boxes
  std::function<void(ScriptedHost&)> on_events;        // runs at each event-loop turn
  std::function<void(const std::string&)> on_message;  // runs as a message box opens
  LabelDriveTable labels;

  RunMode Mode() override { return RunMode(mode); }
  std::string Cat_dir() override { return cat_dir; }
  std::string Cat_file() override { return cat_file; }
  std::string Src_dir() override { return src_dir; }
  std::string Dest_dir() override { return dest_dir; }
  std::string Go_caption() override { return go; }
  void Set_go_caption(const std::string& caption) override { go = caption; }
  std::string Status_caption() override { return status; }
  void Set_status_caption(const std::string& caption) override { status = caption; }
  CopyMode Copy_mode() override { return CopyMode(copy_mode); }
  void Set_copy_mode(CopyMode m) override { copy_mode = int16_t(m); }
  void Ask_copy_originals() override {
    ++copy_questions;
    copy_mode = copy_answer;
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
  int Jobs() override { return jobs; }
  bool Rebuild() override { return rebuild; }
  void Show_record_editor() override { ++editor_shown; }
  LabelDriveTable& Label_drives() override { return labels; }
};

}  // namespace zendrel::testing
