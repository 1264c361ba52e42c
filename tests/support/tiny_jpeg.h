// A small valid JPEG (16 by 12 pixels, one colour) for tests that need a
// picture the image library can read.
#pragma once

#include <string>

namespace zendrel::testing {

// The file's bytes.
std::string Tiny_jpeg();

}  // namespace zendrel::testing
