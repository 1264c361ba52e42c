// Fuzz target: any bytes as a catalogue for Read_gal.
#include "catalog/read_gal.h"
#include "fuzz_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zendrel::fuzz::CountingSink sink;
  zendrel::Read_gal(zendrel::fuzz::Bytes(data, size), sink, zendrel::fuzz::Empty_drives());
  return 0;
}
