#include "page/script_value.h"

#include <cctype>
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace zendrel {
namespace {

bool Hex_digits_follow(const std::string& s, size_t from, size_t count) {
  if (from + count > s.size()) return false;
  for (size_t k = 0; k < count; ++k) {
    if (!std::isxdigit(static_cast<unsigned char>(s[from + k]))) return false;
  }
  return true;
}

bool Starts_with_folded(const std::string& s, size_t at, const char* word) {
  for (size_t k = 0; word[k]; ++k) {
    if (at + k >= s.size() || std::tolower(static_cast<unsigned char>(s[at + k])) != word[k])
      return false;
  }
  return true;
}

// Length of the valid escape that starts at the backslash `at`; 0 if invalid.
size_t Valid_escape_length(const std::string& s, size_t at) {
  if (at + 1 >= s.size()) return 0;
  char next = s[at + 1];
  if (next == 'x') return Hex_digits_follow(s, at + 2, 2) ? 4 : 0;
  if (next == 'u') {
    if (Hex_digits_follow(s, at + 2, 4)) return 6;
    size_t close = s.find('}', at + 2);
    if (at + 2 >= s.size() || s[at + 2] != '{' || close == std::string::npos || close <= at + 3 ||
        close - at - 3 > 6 || !Hex_digits_follow(s, at + 3, close - at - 3))
      return 0;
    // Above U+10FFFF the escape is a syntax error in every script engine.
    if (std::stoul(s.substr(at + 3, close - at - 3), nullptr, 16) > 0x10FFFF) return 0;
    return close - at + 1;
  }
  // The escapes that stand for a character. Before any other character a
  // script drops the backslash ("back\slash" would show "backslash") or
  // reads an octal code ("C:\1999"), so such a backslash is a backslash.
  static constexpr std::string_view kMeaningful = "\\'nrtbfv";
  if (kMeaningful.find(next) != std::string_view::npos) return 2;
  // What keeps a value from ending or disturbing the script block (below).
  bool after_tag_open = at > 0 && s[at - 1] == '<';
  return after_tag_open && (next == '/' || next == '!' || next == 's' || next == 'S') ? 2 : 0;
}

}  // namespace

std::string Safe_script_value(const std::string& raw) {
  // NUL goes first, so that the checks below see the text the page will hold
  // ("</\0script" would otherwise pass as harmless and end the script).
  std::string value = raw;
  std::erase(value, '\0');
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    char c = value[i];
    switch (c) {
      case '"':
        out += "\\x22";
        continue;
      case '\r':
        out += "\\r";
        continue;
      case '\n':
        out += "\\n";
        continue;
      case '\\': {
        size_t length = Valid_escape_length(value, i);
        if (length == 0) {
          out += "\\\\";
        } else {
          out.append(value, i, length);
          i += length - 1;
        }
        continue;
      }
      case '<':
        out += '<';
        if (Starts_with_folded(value, i + 1, "/script")) {
          out += '\\';
        } else if (Starts_with_folded(value, i + 1, "script") ||
                   Starts_with_folded(value, i + 1, "!--")) {
          out += '\\';
        }
        continue;
      default:
        out += c;
    }
  }
  return out;
}

std::string Text_of_script_value(const std::string& value) {
  std::string out;
  out.reserve(value.size());
  auto hex = [&](size_t from, size_t count) {
    return std::stoul(value.substr(from, count), nullptr, 16);
  };
  for (size_t i = 0; i < value.size(); ++i) {
    size_t length = value[i] == '\\' ? Valid_escape_length(value, i) : 0;
    if (length == 0) {
      out += value[i];
      continue;
    }
    char next = value[i + 1];
    unsigned long code = next;
    if (next == 'x') code = hex(i + 2, 2);
    if (next == 'u') code = length == 6 ? hex(i + 2, 4) : hex(i + 3, length - 4);
    if (next == 'n') code = '\n';
    if (next == 'r') code = '\r';
    if (next == 't') code = '\t';
    if (next == 'b') code = '\b';
    if (next == 'f') code = '\f';
    if (next == 'v') code = '\v';
    std::string utf8;
    Append_utf8(utf8, char32_t(code));
    out += code < 0x80 ? std::string(1, char(code)) : Utf8_to_system_text(utf8);
    i += length - 1;
  }
  return out;
}

std::string Safe_staging_value(const std::string& value) {
  std::string out = value;
  for (char& c : out) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

}  // namespace zendrel
