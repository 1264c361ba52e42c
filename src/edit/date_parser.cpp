#include "edit/date_parser.h"

#include <cctype>
#include <vector>

#include "platform/dates.h"

namespace zendrel {
namespace {

struct Token {
  bool is_month = false;
  int value = 0;      // the number, or the month 1 to 12
  size_t digits = 0;  // for numbers
};

bool Is_separator(char c) { return c == ' ' || c == ',' || c == '/' || c == '-' || c == '.'; }

// 1 to 12 for a month name or its three-letter form; 0 otherwise.
int Month_of(const std::string& word) {
  std::string lower;
  for (char c : word) lower += char(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "sept") return 9;
  for (int month = 1; month <= 12; ++month) {
    std::string name = Month_name(month);
    for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (lower == name || (lower.size() == 3 && name.compare(0, 3, lower) == 0)) return month;
  }
  return 0;
}

std::optional<std::vector<Token>> Tokens(const std::string& text) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = text[i];
    if (Is_separator(char(c))) {
      ++i;
    } else if (std::isdigit(c)) {
      Token t;
      for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (++t.digits > 4) return std::nullopt;
        t.value = t.value * 10 + (text[i] - '0');
      }
      tokens.push_back(t);
    } else if (std::isalpha(c)) {
      std::string word;
      for (; i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])); ++i)
        word += text[i];
      int month = Month_of(word);
      if (month == 0) return std::nullopt;
      tokens.push_back({true, month, 0});
    } else {
      return std::nullopt;
    }
  }
  return tokens;
}

std::optional<int> Year_of(const Token& t) {
  if (t.is_month) return std::nullopt;
  if (t.digits == 4) return t.value >= 1000 ? std::optional<int>(t.value) : std::nullopt;
  if (t.digits <= 2) return t.value < 30 ? 2000 + t.value : 1900 + t.value;
  return std::nullopt;
}

bool Leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int Days_in(int month, int year) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && Leap(year) ? 29 : kDays[month - 1];
}

std::optional<std::tm> Make_date(const Token& month, const Token& day, const Token& year) {
  auto y = Year_of(year);
  if (!y || day.is_month || day.digits > 2) return std::nullopt;
  if (!month.is_month && month.digits > 2) return std::nullopt;
  int m = month.value;
  if (m < 1 || m > 12 || day.value < 1 || day.value > Days_in(m, *y)) return std::nullopt;
  std::tm date{};
  date.tm_year = *y - 1900;
  date.tm_mon = m - 1;
  date.tm_mday = day.value;
  return date;
}

}  // namespace

std::optional<std::tm> Parse_user_date(const std::string& text) {
  auto tokens = Tokens(text);
  if (!tokens || tokens->size() != 3) return std::nullopt;
  const Token& a = (*tokens)[0];
  const Token& b = (*tokens)[1];
  const Token& c = (*tokens)[2];
  int names = a.is_month + b.is_month + c.is_month;
  if (names > 1) return std::nullopt;
  if (a.is_month) return Make_date(a, b, c);  // December 25, 1999
  if (b.is_month) {
    if (a.digits == 4) return Make_date(b, c, a);  // 1999 December 25
    return Make_date(b, a, c);                     // 25 December 1999
  }
  if (c.is_month) return std::nullopt;
  if (a.digits == 4) return Make_date(b, c, a);  // 1999-12-25
  return Make_date(a, b, c);                     // 12/25/1999
}

}  // namespace zendrel
