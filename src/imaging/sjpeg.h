// The JPEG scaler. `sjpeg` reads a JPEG picture and writes a scaled copy:
// size 0 gives the display copy, fitted within 1024 by 768 pixels and never
// enlarged; size 96 gives the thumbnail, exactly 96 by 96 pixels with the
// picture fitted inside and padded with black. Both honour the EXIF
// orientation of the input and are written at JPEG quality 85.
//
// No global state: safe to call from several threads at once.
#pragma once

#include <cstdint>
#include <string>

namespace zendrel {

// Paths are native. Returns 1 when the input cannot be read (missing, not a
// JPEG, damaged, a directory) or the output cannot be written; 0 otherwise.
int16_t sjpeg(const std::string& input_path, const std::string& output_path, int size);

}  // namespace zendrel
