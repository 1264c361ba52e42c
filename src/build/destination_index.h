// Where a run's own files go in the destination: the native path of a name,
// found without regard to case like every path of the system, but reading
// the destination's listing at most once per run. A new picture's names are
// missing as spelled, and looking each one up in the directory itself would
// read the whole directory for every picture, making a run's time grow with
// the square of its pictures.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>

namespace zendrel {

class DestinationIndex {
 public:
  // `dest`: the destination in the Windows view, ending in "\"; `name`: one
  // of the run's own file names (plain ASCII, no separators). The existing
  // file when one matches, otherwise the path to make it under; nullopt when
  // the drive is unknown. Files that others add to the destination during
  // the run are not seen; the run's own are made under the names it asks for.
  std::optional<std::string> Native(const std::string& dest, const std::string& name);

 private:
  void List();

  std::string dest_;  // the destination the fields below are of
  std::optional<std::string> dest_native_;
  bool listed_ = false;
  // Folded name to the native name; empty when several names fold alike.
  std::unordered_map<std::string, std::string> folded_;
};

}  // namespace zendrel
