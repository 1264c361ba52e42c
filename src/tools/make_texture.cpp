// Draws texture.jpg, the light background of the archive page.
#include <cstdio>
#include <fstream>

#include "imaging/sample_pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_texture OUT.jpg\n");
    return 2;
  }
  std::string bytes = zendrel::Texture_jpeg();
  std::ofstream out(argv[1], std::ios::binary);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return !bytes.empty() && out ? 0 : 1;
}
