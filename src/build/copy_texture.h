#pragma once

#include <string>

namespace zendrel {

// Copies texture.jpg from the program's directory into `dest_dir` unless the
// destination has one already (a user's own background is never replaced).
// A missing program copy, or a failed copy, is not reported: the archive
// just has no background picture.
void Copy_texture(const std::string& dest_dir);

}  // namespace zendrel
