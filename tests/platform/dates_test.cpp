#include "platform/dates.h"

#include <gtest/gtest.h>

namespace zendrel {
namespace {

// Day numbers count from December 30, 1899 in the proleptic Gregorian
// calendar: 1900 has no February 29, 2000 has one, and days before the
// first count backwards.
TEST(LongDateOfDayNumber, CountsFromTheEndOf1899AcrossLeapRules) {
  EXPECT_EQ(Long_date_of_day_number(0), "December 30, 1899");
  EXPECT_EQ(Long_date_of_day_number(-1), "December 29, 1899");
  EXPECT_EQ(Long_date_of_day_number(60), "February 28, 1900");
  EXPECT_EQ(Long_date_of_day_number(61), "March 1, 1900");
  EXPECT_EQ(Long_date_of_day_number(36585), "February 29, 2000");
  EXPECT_EQ(Long_date_of_day_number(-693593), "January 1, 1");
}

}  // namespace
}  // namespace zendrel
