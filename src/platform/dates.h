// Date texts of the system, in English whatever the locale.
#pragma once

#include <ctime>
#include <string>

namespace zendrel {

// "mmmm d, yyyy": "November 13, 1999".
std::string Long_date_text(const std::tm& time);
// "yyyymmddhhnnss": the time part of a picture's stamp.
std::string Stamp_text(const std::tm& time);
// "January" .. "December"; month 1 to 12.
const char* Month_name(int month);

}  // namespace zendrel
