#include "build/copy_texture.h"

#include "platform/file_system.h"
#include "platform/win_path.h"

namespace zendrel {

Status Copy_texture(const DriveTable& drives, const std::string& dest_dir) {
  std::string destination = Add_backslash(dest_dir) + "texture.jpg";
  std::string program_copy = Add_backslash(Program_directory(drives)) + "texture.jpg";
  if (Plain_file_exists(drives, program_copy) && !File_exists(drives, destination))
    return Copy_file(drives, program_copy, destination);
  return Status();
}

}  // namespace zendrel
