// Sets a file's modification time, for tests of dates taken from files.
#pragma once

#include <string>

namespace zendrel::testing {

// Noon local time on the given day; fails the test when the file cannot take it.
void Set_modified(const std::string& native_path, int year, int month, int day);

}  // namespace zendrel::testing
