#include "build/copy_texture.h"

#include "platform/file_system.h"
#include "platform/win_path.h"

namespace zendrel {

Status Copy_texture(const std::string& dest_dir) {
  std::string destination = Add_backslash(dest_dir) + "texture.jpg";
  std::string program_copy = Add_backslash(Program_directory()) + "texture.jpg";
  if (Plain_file_exists(program_copy) && !File_exists(destination))
    return Copy_file(program_copy, destination);
  return Status();
}

}  // namespace zendrel
