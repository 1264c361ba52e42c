// A small valid JPEG (16 by 16 pixels) for tests that need a picture the
// image library can read.
#pragma once

#include <string>

namespace zendrel::testing {

// The file's bytes, the same every call.
const std::string& Tiny_jpeg();

}  // namespace zendrel::testing
