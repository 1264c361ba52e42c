#include "edit/normalize_date.h"

#include <cctype>

#include "edit/date_parser.h"
#include "platform/dates.h"

namespace zendrel {
namespace {

bool Has(const std::string& text, char c) { return text.find(c) != std::string::npos; }

bool Separators_agree(const std::string& d) {
  int kinds = Has(d, '-') + Has(d, '/') + Has(d, ',');
  if (kinds == 1 || kinds == 3) return true;
  if (kinds != 0) return false;
  for (char c : d) {
    if (std::isalpha(static_cast<unsigned char>(c))) return true;  // a month name
  }
  return false;
}

bool Four_digits(const std::string& d) {
  if (d.size() != 4) return false;
  for (char c : d) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> Normalize_date(const std::string& d) {
  if (auto date = Parse_user_date(d); date && Separators_agree(d)) return Long_date_text(*date);
  if (Four_digits(d)) {
    int year = std::stoi(d);
    if (year > 999 && year < 2201) return d;
    return std::nullopt;
  }
  size_t blank = d.find(' ');
  if (blank == std::string::npos) return std::nullopt;
  // Month and year: read as the first of the month, keep month and year.
  std::string first_of_month = d.substr(0, blank + 1) + "1," + d.substr(blank);
  auto date = Parse_user_date(first_of_month);
  // The inserted 1 must have been read as the day ("1999 12" is no month).
  if (!date || date->tm_mday != 1) return std::nullopt;
  return std::string(Month_name(date->tm_mon + 1)) + " " + std::to_string(date->tm_year + 1900);
}

}  // namespace zendrel
