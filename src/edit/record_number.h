// The record number value of the editor's number box: the decimal number at
// the start of the text (leading blanks and tabs skipped, an optional sign),
// rounded to the nearest whole number with a half going to the even
// neighbour ("2.5" gives 2, "3.5" gives 4); trailing characters are ignored
// ("5abc" gives 5); a text that does not start with a number gives 0.
// Numbers too large for the editor's range come out as a value above it.
#pragma once

#include <string>

namespace zendrel {

// The highest record number the editor shows: every record the page reader
// can hold is reachable.
inline constexpr int kHighestRecordNumber = 10'000'000;

long long Record_number_value(const std::string& text);

}  // namespace zendrel
