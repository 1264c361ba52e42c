#include "catalog/read_textcat.h"

namespace zendrel {
// Placeholder until this reader lands.
Status Read_textcat(const std::string&, PictureSink&) { return Status::Error("this catalogue type cannot be read yet"); }
}  // namespace zendrel
