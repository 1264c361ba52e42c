#include "imaging/crc.h"

#include <array>
#include <cstring>

namespace zendrel {
namespace {

constexpr std::array<uint32_t, 256> Make_table() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
constexpr auto kTable = Make_table();

void Write_code(uint32_t c, char* out) {
  for (int k = 0; k < 6; ++k) out[k] = kNameAlphabet[(c >> (27 - 5 * k)) & 31];
  out[6] = kNameAlphabet[8 * (c & 3)];
}

}  // namespace

uint32_t Crc32(const std::string& bytes) {
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : bytes) c = kTable[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

int16_t crc(char* buffer) {
  std::string stamp(buffer);
  if (stamp.size() < 7) return 1;  // too short to hold a code
  Write_code(Crc32(stamp), buffer);
  return 0;
}

std::string Picture_code(const std::string& stamp) {
  char code[8];
  Write_code(Crc32(stamp), code);
  return std::string(code, 7);
}

}  // namespace zendrel
