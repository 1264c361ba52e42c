#include "cli/cli_host.h"

#include <csignal>
#include <cstdio>
#include <ostream>

#include "platform/codepage.h"

namespace zendrel::cli {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void On_interrupt(int) {
  g_interrupted = 1;
  std::signal(SIGINT, SIG_DFL);  // a second Ctrl-C ends the program
}

}  // namespace

std::string Message_for_terminal(const std::string& text) {
  std::string out = System_text_to_utf8(text);
  for (char& c : out) {
    if (c == '\r') c = '\n';
  }
  return out;
}

void CliHost::Progress(int32_t done, int32_t total) {
  if (!io_.out_is_terminal) return;
  double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
  double rate = seconds > 0 ? done / seconds : 0;
  // The master counts subdirectory pages, the other modes pictures.
  const char* what = request.mode == RunMode::kMaster ? "pages" : "pictures";
  std::string count = std::to_string(done);
  if (total >= 0) count += " of " + std::to_string(total);
  char line[128];
  std::snprintf(line, sizeof line, "\r%s %s, %.1f %s/s ", count.c_str(), what, rate, what);
  io_.out << line << std::flush;
  progress_shown_ = true;
}

void CliHost::Finish_progress() {
  if (progress_shown_) io_.out << "\n";
  progress_shown_ = false;
}

Answer CliHost::Message_box(const std::string& text, Buttons buttons) {
  Finish_progress();
  io_.err << "zendrel: " << Message_for_terminal(text) << std::endl;
  switch (buttons) {
    case Buttons::kOk:
      return Answer::kOk;
    case Buttons::kRetryCancel:
      return Answer::kCancel;
    case Buttons::kYesNo:
      return yes_no_answer;
  }
  return Answer::kOk;
}

void CliHost::Do_events() {
  if (g_interrupted) stop_.Request();
}

void CliHost::Catch_interrupt() {
  g_interrupted = 0;
  std::signal(SIGINT, On_interrupt);
  catching_ = true;
}

CliHost::~CliHost() {
  if (catching_) std::signal(SIGINT, SIG_DFL);
}

}  // namespace zendrel::cli
