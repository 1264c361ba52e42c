#include "catalog/read_csv.h"

namespace zendrel {
// Placeholder until this reader lands.
Status Read_csv(const std::string&, PictureSink&, LabelDriveTable&) {
  return Status::Error("this catalogue type cannot be read yet");
}
}  // namespace zendrel
