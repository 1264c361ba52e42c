#include "catalog/read_tdb.h"

namespace zendrel {
// Placeholder until this reader lands.
Status Read_tdb(const std::string&, PictureSink&) { return Status::Error("this catalogue type cannot be read yet"); }
}  // namespace zendrel
