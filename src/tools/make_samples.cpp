// Writes COUNT sample photographs of WIDTH by HEIGHT pixels into DIR, named
// p000001.jpg and on: pictures for the page's browser tests and benchmarks.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/sample_pictures.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: make_samples DIR COUNT WIDTH HEIGHT\n");
    return 2;
  }
  int count = std::atoi(argv[2]);
  int width = std::atoi(argv[3]);
  int height = std::atoi(argv[4]);
  if (count < 1 || width < 8 || height < 8 || width > 8000 || height > 8000) {
    std::fprintf(stderr, "make_samples: COUNT must be positive, sizes 8 to 8000\n");
    return 2;
  }
  std::vector<zendrel::SamplePicture> samples;
  for (int i = 1; i <= count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "p%06d.jpg", i);
    samples.push_back({name, width, height, 1, unsigned(i), 80});
  }
  zendrel::Status status = zendrel::Write_samples(argv[1], samples);
  if (!status.ok()) {
    std::fprintf(stderr, "make_samples: %s\n", status.message().c_str());
    return 1;
  }
  return 0;
}
