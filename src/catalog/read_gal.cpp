#include "catalog/read_gal.h"

namespace zendrel {
// Placeholder until this reader lands.
Status Read_gal(const std::string&, PictureSink&) { return Status::Error("this catalogue type cannot be read yet"); }
}  // namespace zendrel
