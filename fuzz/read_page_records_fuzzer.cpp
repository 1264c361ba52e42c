// Fuzz target: any bytes as an archive page for the record scan that the
// page reader and the master archive share. Every record handed over must be
// whole, as the scan promises: numbered in order, ten values, a thumbnail
// name, and no more text than the page holds.
#include <cstdlib>

#include "fuzz_sink.h"
#include "page/page_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int last = 0;
  zendrel::For_each_page_record(
      zendrel::fuzz::Bytes(data, size), "C:\\fuzz\\archive.htm",
      [&last, size](int record, const std::vector<std::string>& values) {
        size_t text = 0;
        for (const std::string& value : values) text += value.size();
        if (record != last + 1 || values.size() != 10 || values[0].empty() || text > size)
          std::abort();
        last = record;
        return zendrel::Status();
      });
  return 0;
}
