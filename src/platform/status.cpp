#include "platform/status.h"

#include <cstring>

namespace zendrel {

std::string Errno_text(int error_number) { return std::strerror(error_number); }

}  // namespace zendrel
