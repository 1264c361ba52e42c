// Fuzz target: any bytes as a catalogue for Read_plb.
#include "catalog/read_plb.h"
#include "fuzz_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zendrel::fuzz::CountingSink sink;
  zendrel::Read_plb(zendrel::fuzz::Bytes(data, size), sink);
  return 0;
}
