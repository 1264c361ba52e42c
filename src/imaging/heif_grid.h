// The size a HEIF grid picture describes for itself. libheif 1.15 makes a
// grid picture as large as that description says, before any check of it
// against the size the container declares; so the description is read here
// first, from the boxes, and a picture that claims more than it declares
// is refused before anything is decoded.
#pragma once

#include <optional>
#include <string_view>

#include "imaging/rgb_image.h"

namespace zendrel {

enum class HeifGrid {
  kNone,        // the primary item is no grid
  kSized,       // a grid; its output size is in `size`
  kUnreadable,  // a grid whose description cannot be found or read
};

// Whether the primary item of the HEIF file `bytes` is a grid, and the size
// its description gives it.
HeifGrid Read_heif_grid(std::string_view bytes, PixelSize* size);

}  // namespace zendrel
