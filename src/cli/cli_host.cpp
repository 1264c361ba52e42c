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

bool All_digits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

std::string Message_for_terminal(const std::string& text) {
  std::string out = System_text_to_utf8(text);
  for (char& c : out) {
    if (c == '\r') c = '\n';
  }
  return out;
}

void CliHost::Set_status_caption(const std::string& caption) {
  status_ = caption;
  if (!io_.out_is_terminal || !All_digits(caption)) return;
  double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
  double rate = seconds > 0 ? std::stod(caption) / seconds : 0;
  char line[96];
  // The master counts subdirectory pages, the other modes pictures.
  const char* what = mode == RunMode::kMaster ? "pages" : "pictures";
  std::snprintf(line, sizeof line, "\r%s %s, %.1f %s/s ", caption.c_str(), what, rate, what);
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
  if (g_interrupted && go_ == "Stop") go_.clear();
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
