#include "support/jpeg_fixture.h"

#include <turbojpeg.h>

#include <vector>

namespace zendrel::testing {

std::string Small_jpeg(int width, int height) {
  std::vector<unsigned char> pixels(size_t(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      unsigned char* p = &pixels[(size_t(y) * width + x) * 3];
      bool mark = x < width / 4 && y < height / 4;
      p[0] = mark ? 255 : static_cast<unsigned char>(x * 255 / width);
      p[1] = mark ? 0 : static_cast<unsigned char>(y * 255 / height);
      p[2] = mark ? 0 : 128;
    }
  }
  tjhandle handle = tjInitCompress();
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  tjCompress2(handle, pixels.data(), width, 0, height, TJPF_RGB, &jpeg, &size, TJSAMP_420, 90, 0);
  std::string bytes(reinterpret_cast<char*>(jpeg), size);
  tjFree(jpeg);
  tjDestroy(handle);
  return bytes;
}

bool Jpeg_size(const std::string& bytes, int* width, int* height) {
  tjhandle handle = tjInitDecompress();
  int subsampling = 0, colorspace = 0;
  int result = tjDecompressHeader3(handle, reinterpret_cast<const unsigned char*>(bytes.data()),
                                   bytes.size(), width, height, &subsampling, &colorspace);
  tjDestroy(handle);
  return result == 0;
}

}  // namespace zendrel::testing

#include "support/tiny_jpeg.h"

namespace zendrel::testing {

const std::string& Tiny_jpeg() {
  static const std::string bytes = Small_jpeg(16, 16);
  return bytes;
}

}  // namespace zendrel::testing
