// Fuzz target: any bytes as a picture's marker segments for the metadata
// reader (after the start marker it needs), or, after a leading "X", as an
// XMP sidecar beside a picture without metadata.
#include "catalog/picture_metadata.h"
#include "fuzz_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes = zendrel::fuzz::Bytes(data, size);
  if (!bytes.empty() && bytes[0] == 'X')
    zendrel::Read_picture_metadata_bytes("\xFF\xD8\xFF\xD9", bytes.substr(1));
  else
    zendrel::Read_picture_metadata_bytes("\xFF\xD8" + bytes, "");
  return 0;
}
