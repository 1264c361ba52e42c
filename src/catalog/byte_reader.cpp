#include "catalog/byte_reader.h"

#include <algorithm>
#include <cstring>

namespace zendrel {

void ByteReader::Fail(const std::string& message) {
  if (error_.empty()) error_ = message;
}

void ByteReader::Past_end(int64_t position, const char* what) {
  if (position < 0)
    Fail(std::string("the ") + what + " lies at a negative position");
  else
    Fail(std::string("the ") + what + " at position " + std::to_string(position) +
         " lies past the end of the file");
}

int ByteReader::Byte(int64_t position, const char* what) {
  if (!Holds(position, 1)) {
    Past_end(position, what);
    return 0;
  }
  return static_cast<unsigned char>(bytes_[position]);
}

namespace {
int32_t Top_bit_is_none(uint32_t value) {
  return (value & 0x80000000u) ? -1 : static_cast<int32_t>(value);
}
}  // namespace

int32_t ByteReader::Le32(int64_t position, const char* what) {
  if (!Holds(position, 4)) {
    Past_end(position, what);
    return 0;
  }
  const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + position);
  return Top_bit_is_none(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                         uint32_t(p[3]) << 24);
}

int32_t ByteReader::Be32(int64_t position, const char* what) {
  if (!Holds(position, 4)) {
    Past_end(position, what);
    return 0;
  }
  const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + position);
  return Top_bit_is_none(uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 |
                         uint32_t(p[3]));
}

std::string ByteReader::Text(int64_t position, int64_t length, const char* what) {
  if (!Holds(position, length)) {
    Past_end(position, what);
    return {};
  }
  return bytes_.substr(static_cast<size_t>(position), static_cast<size_t>(length));
}

std::string ByteReader::Field_text(int64_t position, int64_t field_size, const char* what) {
  if (position < 0 || position > size()) {
    Past_end(position, what);
    return {};
  }
  int64_t available = std::min(field_size, size() - position);
  const char* start = bytes_.data() + position;
  const void* nul = std::memchr(start, '\0', static_cast<size_t>(available));
  if (nul) return std::string(start, static_cast<const char*>(nul));
  if (available < field_size) {
    Past_end(position, what);
    return {};
  }
  return std::string(start, static_cast<size_t>(available));
}

}  // namespace zendrel
