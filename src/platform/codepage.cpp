#include "platform/codepage.h"

#include <array>
#include <cstdint>

namespace zendrel {
namespace {

// Code points of 0x80..0x9F; the undefined five keep their own number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int Byte_of(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) return int(code_point);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == code_point) return 0x80 + i;
  }
  return -1;
}

// Decodes one UTF-8 sequence at `i`; returns its length, or 0 when invalid.
int Decode_utf8(const std::string& s, size_t i, char32_t* cp) {
  unsigned char b = s[i];
  int len = b >= 0xF0 && b < 0xF5 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
  if (b >= 0xF5 || len == 0 || i + len > s.size()) return 0;
  char32_t value = b & (0x7F >> len);
  for (int k = 1; k < len; ++k) {
    unsigned char c = s[i + k];
    if ((c & 0xC0) != 0x80) return 0;
    value = (value << 6) | (c & 0x3F);
  }
  if ((len == 3 && value < 0x800) || (len == 4 && value < 0x10000) ||
      (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
    return 0;
  *cp = value;
  return len;
}

}  // namespace

void Append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

char32_t Cp1252_code_point(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t(byte);
}

size_t Character_reference_at(const std::string& text, size_t pos, char32_t* code_point) {
  if (text.compare(pos, 2, "&#") != 0) return 0;
  size_t i = pos + 2;
  char32_t value = 0;
  size_t digits = 0;
  // The form the writer makes: decimal, no leading zero, at most 7 digits.
  while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 8) {
    if (digits == 0 && text[i] == '0') return 0;
    value = value * 10 + char32_t(text[i] - '0');
    ++digits;
    ++i;
  }
  if (digits == 0 || digits > 7 || i >= text.size() || text[i] != ';') return 0;
  bool character = value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF);
  if (!character || (value != '&' && Byte_of(value) >= 0)) return 0;
  *code_point = value;
  return i + 1 - pos;
}

std::string Utf8_to_system_text(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    unsigned char b = utf8[i];
    char32_t cp = 0;
    if (b == '&' && Character_reference_at(utf8, i, &cp) > 0) {
      out += "&#38;";  // keeps a literal reference literal on the way back
      ++i;
      continue;
    }
    if (b < 0x80) {
      out += char(b);
      ++i;
      continue;
    }
    int len = Decode_utf8(utf8, i, &cp);
    if (len == 0) {  // not UTF-8: keep the byte as it stands
      out += char(b);
      ++i;
      continue;
    }
    int byte = Byte_of(cp);
    if (byte < 0) {
      out += "&#" + std::to_string(uint32_t(cp)) + ";";
    } else {
      out += char(byte);
    }
    i += len;
  }
  return out;
}

std::string System_text_to_utf8(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    if (size_t len = Character_reference_at(text, i, &cp)) {
      Append_utf8(out, cp);
      i += len;
    } else {
      Append_utf8(out, Cp1252_code_point(static_cast<unsigned char>(text[i])));
      ++i;
    }
  }
  return out;
}

std::string Cp1252_to_utf8(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (unsigned char b : text) Append_utf8(out, Cp1252_code_point(b));
  return out;
}

}  // namespace zendrel
