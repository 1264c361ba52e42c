// Fuzz target: any bytes as a JPEG file for the marker reader; what it
// finds of an EXIF block must lie within the bytes it was given.
#include <cstdlib>

#include "fuzz_sink.h"
#include "imaging/jpeg_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zendrel::JpegLayout layout = zendrel::Read_jpeg_layout(bytes);
  if (!layout.exif.empty() &&
      (layout.exif.data() < bytes.data() ||
       layout.exif.data() + layout.exif.size() > bytes.data() + bytes.size()))
    std::abort();
  if (layout.complete && !layout.is_jpeg) std::abort();
  return 0;
}
