// Photo-like sample pictures that the project makes itself, for the demo,
// the tests and the benchmarks: smooth scenes with noise and blur so they
// compress like photographs, landscape and portrait, some with an EXIF
// orientation tag; and the light paper texture behind the archive page.
// Pure functions of their arguments; safe on any thread.
#pragma once

#include <string>
#include <vector>

#include "platform/status.h"

namespace zendrel {

struct SamplePicture {
  std::string file_name;  // native name
  int width = 640;        // as stored in the file, before the tag turns it
  int height = 480;
  int orientation = 1;  // EXIF orientation 1..8; 1 writes no tag
  unsigned seed = 1;
  int quality = 90;
};

// JPEG bytes of one sample picture. The scene stands upright once the
// orientation tag is applied. Empty on failure.
std::string Sample_jpeg(const SamplePicture& sample);

// The demo's set: a few sizes, landscape and portrait, some rotated by tag.
std::vector<SamplePicture> Demo_samples();

// Writes `samples` into the native directory `dir` (made if missing).
Status Write_samples(const std::string& dir, const std::vector<SamplePicture>& samples);

// A light, seamlessly tiling paper texture, 256 by 256: the page background.
std::string Texture_jpeg();

}  // namespace zendrel
