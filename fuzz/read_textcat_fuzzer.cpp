// Fuzz target: any bytes as a catalogue for Read_textcat.
#include "catalog/read_textcat.h"
#include "fuzz_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zendrel::fuzz::CountingSink sink;
  zendrel::Read_textcat(zendrel::fuzz::Bytes(data, size), sink);
  return 0;
}
