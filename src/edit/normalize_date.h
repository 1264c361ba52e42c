// The date rule of the editor's Update: turns the date text a user typed
// into one of the three forms the page's date ordering reads, or refuses it.
//
//   a full date  -> "mmmm d, yyyy"  (12/25/1999 -> December 25, 1999)
//   month, year  -> "mmmm yyyy"     (Dec 1999 -> December 1999)
//   a bare year  -> kept, 1000 to 2200 only (1999 -> 1999)
//
// A full date must use one kind of separator among "-", "/" and "," (or all
// three), or none of them with a month name (25 December 1999), so that
// mixed texts such as 12/25-1999 are refused rather than guessed at. Numbers
// separated only by dots or blanks (12.25.1999, 12 25 1999) are refused too:
// the order of day and month in them is a guess.
#pragma once

#include <optional>
#include <string>

namespace zendrel {

// The text to store, or nothing when the date is refused.
std::optional<std::string> Normalize_date(const std::string& date);

}  // namespace zendrel
