// Fuzz target: any bytes as a HEIF picture for its decoder.
#include "picture_reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return Fuzz_picture_reader(zendrel::PictureFormat::kHeif, data, size);
}
