#include "platform/kept_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <map>
#include <string_view>
#include <utility>

#include "platform/posix_file.h"

namespace zendrel {
namespace {

constexpr std::string_view kKept = ".zendrel-kept-";
constexpr std::string_view kMade = ".zendrel-made-";
constexpr std::string_view kDone = ".zendrel-done-";
constexpr size_t kTokenLetters = 12;

std::atomic<int> g_kill_step{0};

std::string Base_name(const std::string& native) {
  size_t slash = native.rfind('/');
  return slash == std::string::npos ? native : native.substr(slash + 1);
}

std::string With_slash(std::string directory) {
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory;
}

bool Make_marker(const std::string& path) {
  FileDescriptor fd(
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  return fd.valid();
}

// One interrupted commit found in a directory.
struct Found {
  bool done = false;
  std::vector<std::pair<std::string, std::string>> kept, made;  // name, target
};

}  // namespace

KeptFiles::KeptFiles(std::string native_directory)
    : directory_(With_slash(std::move(native_directory))), token_(Random_name_text()) {}

Status KeptFiles::Keep(const std::string& native_target, const std::string& shown) {
  std::string base = Base_name(native_target);
  Kept entry{native_target, directory_ + std::string(kKept) + token_ + "-" + base, true};
  if (::link(native_target.c_str(), entry.kept.c_str()) != 0) {
    if (errno != ENOENT) return Status::FileError(shown, Errno_text(errno));
    entry.existed = false;
    entry.kept = directory_ + std::string(kMade) + token_ + "-" + base;
    if (!Make_marker(entry.kept)) return Status::FileError(shown, Errno_text(errno));
  }
  kept_.push_back(std::move(entry));
  return Status();
}

Status KeptFiles::Mark_done() {
  if (!Make_marker(directory_ + std::string(kDone) + token_))
    return Status::FileError(directory_, Errno_text(errno));
  return Status();
}

void KeptFiles::Remove_kept() {
  for (const Kept& entry : kept_) {
    if (Commit_killed_here_for_testing()) return;
    ::unlink(entry.kept.c_str());
  }
  if (Commit_killed_here_for_testing()) return;
  ::unlink((directory_ + std::string(kDone) + token_).c_str());
  kept_.clear();
}

void KeptFiles::Put_back() {
  for (const Kept& entry : kept_) {
    if (entry.existed) {
      // Where the target was never replaced both names are one file and
      // rename does nothing; the unlink then drops the second name.
      ::rename(entry.kept.c_str(), entry.target.c_str());
    } else {
      ::unlink(entry.target.c_str());
    }
    ::unlink(entry.kept.c_str());
  }
  kept_.clear();
}

void Recover_interrupted_commits(const std::string& native_directory) {
  std::string directory = With_slash(native_directory);
  std::map<std::string, Found> commits;
  DIR* listing = ::opendir(directory.c_str());
  if (!listing) return;
  while (dirent* entry = ::readdir(listing)) {
    std::string_view name = entry->d_name;
    for (std::string_view prefix : {kKept, kMade, kDone}) {
      if (name.substr(0, prefix.size()) != prefix) continue;
      std::string_view rest = name.substr(prefix.size());
      std::string token(rest.substr(0, kTokenLetters));
      if (!Is_random_name_text(token)) break;
      rest.remove_prefix(token.size());
      if (prefix == kDone) {
        if (rest.empty()) commits[token].done = true;
        break;
      }
      if (rest.size() < 2 || rest[0] != '-') break;
      auto pair = std::make_pair(std::string(name), std::string(rest.substr(1)));
      (prefix == kKept ? commits[token].kept : commits[token].made).push_back(pair);
      break;
    }
  }
  ::closedir(listing);
  for (const auto& [token, found] : commits) {
    if (!found.done) {
      for (const auto& [name, target] : found.kept)
        ::rename((directory + name).c_str(), (directory + target).c_str());
      for (const auto& [name, target] : found.made) ::unlink((directory + target).c_str());
    }
    for (const auto& [name, target] : found.kept) ::unlink((directory + name).c_str());
    for (const auto& [name, target] : found.made) ::unlink((directory + name).c_str());
    ::unlink((directory + std::string(kDone) + token).c_str());
  }
}

void Kill_commit_at_step_for_testing(int step) { g_kill_step = step; }

bool Commit_killed_here_for_testing() {
  int left = g_kill_step.load();
  while (left > 0) {
    if (g_kill_step.compare_exchange_weak(left, left - 1)) return left == 1;
  }
  return false;
}

}  // namespace zendrel
