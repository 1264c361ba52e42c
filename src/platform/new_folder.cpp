#include "platform/new_folder.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

// Longest name of one directory entry on the usual Linux file systems, in
// bytes of its native (UTF-8) form.
constexpr size_t kLongestNativeName = 255;

}  // namespace

std::string Folder_name_problem(const std::string& name) {
  if (name.find_first_not_of(' ') == std::string::npos) return "a folder needs a name";
  if (name == "." || name == "..") return "this name stands for an existing directory";
  for (char c : name) {
    if (c == '/' || c == '\\') return "a folder name cannot contain / or \\";
    if (static_cast<unsigned char>(c) < 0x20)
      return "a folder name cannot contain control characters";
  }
  if (System_text_to_utf8(name).size() > kLongestNativeName)
    return "the name is longer than the file system allows";
  return {};
}

Status Make_folder(const DriveTable& drives, const std::string& parent, const std::string& name) {
  std::string where = Add_backslash(parent) + name;
  if (std::string problem = Folder_name_problem(name); !problem.empty())
    return Status::FileError(where, problem);
  if (!Directory_exists(drives, parent)) return Status::FileError(parent, "no such directory");
  if (File_exists(drives, where))
    return Status::FileError(where, "a file or folder of this name exists");
  auto native = Native_path(drives, where);
  if (!native) return Status::FileError(where, "the drive is not known");
  if (::mkdir(native->c_str(), 0777) != 0) return Status::FileError(where, Errno_text(errno));
  return {};
}

}  // namespace zendrel
