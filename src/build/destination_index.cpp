#include "build/destination_index.h"

#include <dirent.h>
#include <sys/stat.h>

#include "platform/codepage.h"
#include "platform/native_path.h"
#include "platform/win_path.h"

namespace zendrel {

std::optional<std::string> DestinationIndex::Native(const std::string& dest,
                                                    const std::string& name) {
  if (dest != dest_ || !dest_native_) {
    dest_ = dest;
    listed_ = false;
    folded_.clear();
    dest_native_ = Native_path(dest);
    if (!dest_native_) return std::nullopt;
    while (dest_native_->size() > 1 && dest_native_->back() == '/') dest_native_->pop_back();
  }
  std::string directory = *dest_native_ == "/" ? "" : *dest_native_;
  std::string literal = directory + "/" + name;
  struct stat st;
  if (::lstat(literal.c_str(), &st) == 0) return literal;
  if (!listed_) List();
  auto found = folded_.find(Fold_case(name));
  if (found == folded_.end() || found->second.empty()) return literal;
  return directory + "/" + found->second;
}

void DestinationIndex::List() {
  listed_ = true;
  DIR* d = ::opendir(dest_native_->c_str());
  if (!d) return;
  while (dirent* e = ::readdir(d)) {
    std::string native_name = e->d_name;
    if (native_name == "." || native_name == "..") continue;
    auto [it, inserted] = folded_.emplace(Fold_case(Utf8_to_system_text(native_name)), native_name);
    if (!inserted) it->second.clear();  // ambiguous: like the lookup, take none
  }
  ::closedir(d);
}

}  // namespace zendrel
