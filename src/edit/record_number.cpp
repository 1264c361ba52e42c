#include "edit/record_number.h"

namespace zendrel {
namespace {

constexpr long long kHuge = 1000000000LL;  // far above any record number

bool Is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

long long Record_number_value(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long whole = 0;
  bool any_digit = false;
  for (; i < text.size() && Is_digit(text[i]); ++i) {
    any_digit = true;
    if (whole < kHuge) whole = whole * 10 + (text[i] - '0');
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    size_t first = i;
    for (; i < text.size() && Is_digit(text[i]); ++i) any_digit = true;
    if (i > first) {
      char lead = text[first];
      bool beyond_half = false;
      for (size_t k = first + 1; k < i; ++k) beyond_half |= text[k] != '0';
      bool round_up = lead > '5' || (lead == '5' && (beyond_half || whole % 2 == 1));
      if (round_up) ++whole;
    }
  }
  if (!any_digit) return 0;
  return negative ? -whole : whole;
}

}  // namespace zendrel
