#include "imaging/jpeg_layout.h"

#include <cstdint>
#include <vector>

namespace zendrel {
namespace {

constexpr uint8_t kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA, kApp1 = 0xE1, kApp2 = 0xE2, kTem = 0x01;

bool Is_frame_header(uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// A profile larger than one segment is split into numbered chunks; one
// missing or out of order, and the profile is not used at all.
std::string Joined_profile(const std::vector<std::string_view>& chunks) {
  if (chunks.empty()) return {};
  size_t count = uint8_t(chunks[0][13]);
  if (count != chunks.size()) return {};
  std::vector<std::string_view> ordered(count);
  for (std::string_view chunk : chunks) {
    size_t number = uint8_t(chunk[12]);
    if (number < 1 || number > count || uint8_t(chunk[13]) != count || !ordered[number - 1].empty())
      return {};
    ordered[number - 1] = chunk.substr(14);
  }
  std::string profile;
  for (std::string_view part : ordered) profile += part;
  return profile;
}

bool Standalone(uint8_t marker) {
  return marker == kSoi || marker == kTem || (marker >= 0xD0 && marker <= 0xD7);
}

// True when an end marker follows `from`. Inside entropy-coded data a 0xFF
// byte is always followed by 0x00 or a restart marker, so the first FF D9
// from the end that lies past the first scan is the picture's own end (an
// embedded thumbnail's end marker lies before the scan).
bool Ends_after(std::string_view bytes, size_t from) {
  for (size_t i = bytes.size() - 1; i > from; --i) {
    if (uint8_t(bytes[i]) == kEoi && uint8_t(bytes[i - 1]) == 0xFF) return true;
  }
  return false;
}

}  // namespace

JpegLayout Read_jpeg_layout(std::string_view bytes) {
  JpegLayout layout;
  auto at = [&](size_t i) { return uint8_t(bytes[i]); };
  if (bytes.size() < 4 || at(0) != 0xFF || at(1) != kSoi) return layout;
  layout.is_jpeg = true;
  size_t pos = 2;
  std::vector<std::string_view> icc_chunks;
  while (pos + 1 < bytes.size()) {
    if (at(pos) != 0xFF) return layout;                           // not a marker where one belongs
    while (pos + 1 < bytes.size() && at(pos + 1) == 0xFF) ++pos;  // fill bytes
    if (pos + 1 >= bytes.size()) return layout;
    uint8_t marker = at(pos + 1);
    if (Standalone(marker)) {
      pos += 2;
      continue;
    }
    if (marker == kEoi) return layout;  // an end before any picture data
    if (pos + 3 >= bytes.size()) return layout;
    size_t length = size_t(at(pos + 2)) << 8 | at(pos + 3);
    if (length < 2 || pos + 2 + length > bytes.size()) return layout;
    std::string_view payload = bytes.substr(pos + 4, length - 2);
    if (marker == kSos) {
      layout.complete = Ends_after(bytes, pos + 2 + length);
      layout.icc = Joined_profile(icc_chunks);
      return layout;
    }
    if (Is_frame_header(marker) && payload.size() >= 5 && layout.precision == 0) {
      layout.precision = uint8_t(payload[0]);
      layout.height = int(uint8_t(payload[1])) << 8 | uint8_t(payload[2]);
      layout.width = int(uint8_t(payload[3])) << 8 | uint8_t(payload[4]);
    }
    if (marker == kApp2 && payload.size() > 14 &&
        payload.starts_with(std::string_view("ICC_PROFILE\0", 12)))
      icc_chunks.push_back(payload);
    if (marker == kApp1 && layout.exif.empty() &&
        payload.starts_with(std::string_view("Exif\0\0", 6)))
      layout.exif = payload;
    pos += 2 + length;
  }
  return layout;
}

}  // namespace zendrel
