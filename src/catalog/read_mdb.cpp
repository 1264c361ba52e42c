#include "catalog/read_mdb.h"

namespace zendrel {
// Placeholder until this reader lands.
Status Read_mdb(const std::string&, PictureSink&) {
  return Status::Error("this catalogue type cannot be read yet");
}
}  // namespace zendrel
