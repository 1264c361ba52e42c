#include "catalog/read_plb.h"

namespace zendrel {
// Placeholder until this reader lands.
Status Read_plb(const std::string&, PictureSink&) { return Status::Error("this catalogue type cannot be read yet"); }
}  // namespace zendrel
