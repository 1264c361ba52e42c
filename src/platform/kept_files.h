// What a commit of several files keeps so that a kill in the middle of it
// can be put right: before the first rename, the previous file of each
// target gets a second name of its own (or, where there was none, an empty
// marker says so); when every rename is done, a done-marker makes the
// change final and the kept names go. The next run that holds the
// directory's lock puts an unfinished change back (all files old) and
// clears a finished one (all files new), so a set is never half new.
//
// Names: ".zendrel-kept-<12 letters>-<target>", ".zendrel-made-<12 letters>-
// <target>", ".zendrel-done-<12 letters>", the letters shared by one commit.
#pragma once

#include <string>
#include <vector>

#include "platform/status.h"

namespace zendrel {

class KeptFiles {
 public:
  // `native_directory` holds every target.
  explicit KeptFiles(std::string native_directory);
  // Keeps the present file of `native_target` (a name in the directory).
  Status Keep(const std::string& native_target, const std::string& shown);
  // The change is final: the kept names are no longer needed.
  Status Mark_done();
  void Remove_kept();
  // Puts back every kept file now (a failed rename in this process).
  void Put_back();

 private:
  struct Kept {
    std::string target, kept;  // kept: the second name, or the empty marker
    bool existed;
  };
  std::string directory_, token_;
  std::vector<Kept> kept_;
};

// Puts right what a killed commit left in `native_directory`.
void Recover_interrupted_commits(const std::string& native_directory);

// Tests: the `step`-th step from now of a commit (each keep, rename, the
// done-marker and each removal) is where the commit stops, as if killed:
// nothing after it happens (0: never).
void Kill_commit_at_step_for_testing(int step);
// Whether the commit should stop here; counts one step.
bool Commit_killed_here_for_testing();

}  // namespace zendrel
