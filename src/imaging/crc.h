// The naming checksum. `crc` writes a seven-character picture code over the
// first characters of a stamp ("yyyymmddhhnnss" + file name):
//
//   c = CRC-32 (IEEE 802.3, reflected, polynomial 0xEDB88320, as zlib and
//       PNG compute it) of the stamp's bytes up to its NUL;
//   characters 1 to 6 = alphabet[(c >> (27 - 5*k)) & 31] for k = 0..5,
//       the top 30 bits, five at a time;
//   character 7 = alphabet[8 * (c & 3)]: "0", "8", "H" or "R".
//
// alphabet = "0123456789ABCDFGHJKLMNPQRSTVWXYZ". The same stamp always gives
// the same code; the buffer keeps its length. Pure; safe on any thread.
#pragma once

#include <cstdint>
#include <string>

namespace zendrel {

inline constexpr char kNameAlphabet[] = "0123456789ABCDFGHJKLMNPQRSTVWXYZ";

// `buffer` holds a NUL-terminated stamp of at least seven characters.
int16_t crc(char* buffer);

// CRC-32 of `bytes`.
uint32_t Crc32(const std::string& bytes);

// The code for `stamp` (first seven characters `crc` leaves).
std::string Picture_code(const std::string& stamp);

}  // namespace zendrel
