// Fuzz target: any bytes as a catalogue for Read_csv, with a fresh label table.
#include "catalog/read_csv.h"
#include "fuzz_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zendrel::fuzz::CountingSink sink;
  zendrel::LabelDriveTable labels;
  zendrel::Read_csv(zendrel::fuzz::Bytes(data, size), sink, labels, zendrel::fuzz::Empty_drives());
  return 0;
}
