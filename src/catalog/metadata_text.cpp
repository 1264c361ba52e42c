#include "catalog/metadata_text.h"

#include <array>
#include <cctype>
#include <ctime>

#include "platform/codepage.h"
#include "platform/dates.h"

namespace zendrel {
namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool Valid_utf8(std::string_view text) {
  static constexpr std::array<char32_t, 4> kLeast = {0, 0x80, 0x800, 0x10000};
  for (size_t i = 0; i < text.size();) {
    unsigned char b = text[i];
    int extra = b < 0x80             ? 0
                : (b & 0xE0) == 0xC0 ? 1
                : (b & 0xF0) == 0xE0 ? 2
                : (b & 0xF8) == 0xF0 ? 3
                                     : -1;
    if (extra < 0 || text.size() - i <= size_t(extra)) return false;
    char32_t cp = extra == 0 ? b : b & (0x7F >> (extra + 1));
    for (int k = 1; k <= extra; ++k) {
      unsigned char c = text[i + k];
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

std::string_view Before_nul(std::string_view bytes) {
  size_t nul = bytes.find('\0');
  return nul == std::string_view::npos ? bytes : bytes.substr(0, nul);
}

int Digits(std::string_view text, size_t at, size_t count) {
  if (text.size() < at + count) return -1;
  int value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool Leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int Days_in_month(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && Leap(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::string Utf8_from_unlabelled(std::string_view bytes) {
  std::string_view text = Before_nul(bytes);
  if (Valid_utf8(text)) return std::string(text);
  return Cp1252_to_utf8(std::string(text));
}

std::string Utf8_from_utf16(std::string_view bytes, bool big_endian) {
  if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
    big_endian = bytes[0] == '\xFE';
    bytes.remove_prefix(2);
  }
  auto unit_at = [&](size_t i) {
    char32_t first = static_cast<unsigned char>(bytes[i]);
    char32_t second = static_cast<unsigned char>(bytes[i + 1]);
    return big_endian ? first << 8 | second : second << 8 | first;
  };
  std::string out;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t unit = unit_at(i);
    if (unit == 0) break;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
      char32_t low = unit_at(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        Append_utf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    Append_utf8(out, unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
  }
  return out;
}

std::string Trimmed(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  size_t first = 0, last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

bool Is_placeholder(std::string_view text) {
  std::string upper = Trimmed(text);
  if (upper.empty()) return true;
  for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
  // "OLYMPUS DIGITAL CAMERA", "KONICA MINOLTA DIGITAL CAMERA", "SAMSUNG
  // DIGITAL CAMERA" and their kin.
  constexpr std::string_view kCameraTail = "DIGITAL CAMERA";
  if (upper.size() >= kCameraTail.size() &&
      upper.compare(upper.size() - kCameraTail.size(), kCameraTail.size(), kCameraTail) == 0)
    return true;
  static constexpr std::string_view kTexts[] = {
      "SONY DSC", "DSC",    "DCF",     "EXIF_JPEG_PICTURE", "JPEG PICTURE", "DIGITAL IMAGE",
      "DEFAULT",  "IMAGE",  "PICTURE", "UNTITLED",          "(NULL)",       "ASCII",
      "UNICODE",  "CAMERA",
  };
  for (std::string_view placeholder : kTexts) {
    if (upper == placeholder) return true;
  }
  return false;
}

std::string Date_text_from_metadata(std::string_view text) {
  static constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
  std::string trimmed = Trimmed(text);
  int year = Digits(trimmed, 0, 4), month = 0, day = 0;
  if (year < 1) return "";
  char separator = trimmed.size() > 4 ? trimmed[4] : '\0';
  if (separator == ':' || separator == '-') {
    month = Digits(trimmed, 5, 2);
    if (trimmed.size() > 7 && trimmed[7] == separator)
      day = Digits(trimmed, 8, 2);
    else if (trimmed.size() > 7 && trimmed[7] != 'T' && trimmed[7] != ' ')
      return "";
  } else if (separator != '\0') {
    month = Digits(trimmed, 4, 2);
    day = Digits(trimmed, 6, 2);
  }
  if (month < 0 || day < 0 || month > 12) return "";
  // A scanned print often knows its year or month alone ("1987", "1987-06",
  // EXIF "1987:00:00"): the page sorts and searches "1987" and "June 1987".
  if (month == 0) return day == 0 ? std::to_string(year) : "";
  if (day == 0) return std::string(kMonths[month - 1]) + " " + std::to_string(year);
  if (day > Days_in_month(year, month)) return "";
  std::tm date{};
  date.tm_year = year - 1900;
  date.tm_mon = month - 1;
  date.tm_mday = day;
  return Long_date_text(date);
}

std::string Html_text_from_metadata(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\\':
        out += "&#92;";  // a script escape would swallow it in the page
        break;
      default:
        out += c;
    }
  }
  return out;
}

// The one place where metadata text enters the system's code page: as text,
// never as markup; characters outside the code page travel as numeric
// character references.
std::string System_text_from_metadata(const std::string& utf8) {
  return Utf8_to_system_text(Html_text_from_metadata(utf8));
}

}  // namespace zendrel
