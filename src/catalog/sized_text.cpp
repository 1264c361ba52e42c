#include "catalog/sized_text.h"

#include <cstdint>
#include <cstring>

namespace zendrel {

void Put_sized_text(std::string& out, const std::string& text) {
  uint32_t n = uint32_t(text.size());
  out.append(reinterpret_cast<const char*>(&n), sizeof n);
  out += text;
}

bool Take_sized_text(const std::string& in, size_t& at, std::string* text) {
  uint32_t n = 0;
  if (in.size() - at < sizeof n) return false;
  std::memcpy(&n, in.data() + at, sizeof n);
  at += sizeof n;
  if (in.size() - at < n) return false;
  *text = in.substr(at, n);
  at += n;
  return true;
}

}  // namespace zendrel
