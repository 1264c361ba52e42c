// The date parser for the dates users type into the editor, as on an
// English-language system whose numeric dates put the month first.
//
// Read (month names in full or as their first three letters, "Sept"
// too, in any letter case; a day must always be given):
//   12/25/1999   12-25-1999   12.25.1999       month, day, year
//   1999-12-25   1999/12/25                    four-digit year first
//   December 25, 1999   Dec 25 1999   Dec. 25, 1999
//   25 December 1999    25-Dec-1999   25 Dec, 1999
//   1999 December 25
// Blanks, commas, "/", "-" and "." all separate the three parts; blanks
// around the text are ignored. Years have four digits (1000 to 9999), or
// one or two, which are read as 2000 to 2029 for 0 to 29 and as 1930 to
// 1999 for 30 to 99. Three-digit years, times, a missing day, a day that
// the month does not have (February 29 outside leap years) are refused.
//
// The editor stores only what Normalize_date (normalize_date.h) accepts, a
// narrower set: it refuses numbers separated by dots alone, such as
// 12.25.1999, as day-first writers mean 05.06.1999 as June 5.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace zendrel {

// The date (tm_year, tm_mon, tm_mday set, the rest zero), or nothing.
std::optional<std::tm> Parse_user_date(const std::string& text);

}  // namespace zendrel
