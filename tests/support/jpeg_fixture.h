// Small valid JPEG files for tests, made with TurboJPEG.
#pragma once

#include <string>

namespace zendrel::testing {

// A baseline JPEG of `width` by `height` pixels: a gradient with a mark in
// the top-left corner.
std::string Small_jpeg(int width = 64, int height = 48);

// Width and height of a JPEG's bytes; false when it is not one.
bool Jpeg_size(const std::string& bytes, int* width, int* height);

}  // namespace zendrel::testing
