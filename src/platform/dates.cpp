#include "platform/dates.h"

#include <chrono>
#include <cstdio>

namespace zendrel {

const char* Month_name(int month) {
  static const char* const kNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};
  return month >= 1 && month <= 12 ? kNames[month - 1] : "";
}

std::string Long_date_text(const std::tm& time) {
  return std::string(Month_name(time.tm_mon + 1)) + " " + std::to_string(time.tm_mday) + ", " +
         std::to_string(time.tm_year + 1900);
}

std::string Long_date_of_day_number(int64_t day_number) {
  using namespace std::chrono;
  constexpr sys_days kDayZero = year{1899} / December / 30;
  year_month_day date{kDayZero + days{day_number}};
  std::tm time{};
  time.tm_year = int(date.year()) - 1900;
  time.tm_mon = int(unsigned(date.month())) - 1;
  time.tm_mday = int(unsigned(date.day()));
  return Long_date_text(time);
}

std::string Stamp_text(const std::tm& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", time.tm_year + 1900, time.tm_mon + 1,
                time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
  return text;
}

}  // namespace zendrel
