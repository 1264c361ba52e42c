#include "support/file_dates.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <ctime>

namespace zendrel::testing {

void Set_modified(const std::string& native_path, int year, int month, int day) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = 12;
  local.tm_isdst = -1;
  utimbuf times{std::mktime(&local), std::mktime(&local)};
  ASSERT_EQ(utime(native_path.c_str(), &times), 0);
}

}  // namespace zendrel::testing
