// Date texts of the system, in English whatever the locale.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace zendrel {

// "mmmm d, yyyy": "November 13, 1999".
std::string Long_date_text(const std::tm& time);
// The date `day_number` days after December 30, 1899 (before it when
// negative), the day count of the catalogues' date type, in the proleptic
// Gregorian calendar, as Long_date_text writes it.
std::string Long_date_of_day_number(int64_t day_number);
// "yyyymmddhhnnss": the time part of a picture's stamp.
std::string Stamp_text(const std::tm& time);
// "January" .. "December"; month 1 to 12.
const char* Month_name(int month);

}  // namespace zendrel
