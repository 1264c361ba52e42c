#include "edit/path_box.h"

#include "page/record_line.h"
#include "page/script_value.h"

namespace zendrel {

std::string Path_for_box(const std::string& stored) { return Single_backslashes(stored); }

std::string Path_from_box(const std::string& shown, const std::string& stored) {
  if (shown == Path_for_box(stored)) return stored;
  return Safe_script_value(Double_backslashes(shown));
}

}  // namespace zendrel
