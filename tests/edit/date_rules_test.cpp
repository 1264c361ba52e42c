#include <gtest/gtest.h>

#include "edit/date_parser.h"
#include "edit/normalize_date.h"
#include "edit/record_number.h"

namespace zendrel {
namespace {

TEST(NormalizeDate, AcceptsTheFormsUsersType) {
  const std::pair<const char*, const char*> accepted[] = {
      {"12/25/1999", "December 25, 1999"},
      {"12-25-1999", "December 25, 1999"},
      {"1999-12-25", "December 25, 1999"},
      {"1999/12/25", "December 25, 1999"},
      {"December 25, 1999", "December 25, 1999"},
      {"Dec 25, 1999", "December 25, 1999"},
      {"dec. 25, 1999", "December 25, 1999"},
      {"25 December 1999", "December 25, 1999"},
      {"December 25 1999", "December 25, 1999"},
      {"25-Dec-1999", "December 25, 1999"},
      {"Sept 3, 2001", "September 3, 2001"},
      {"2/29/2000", "February 29, 2000"},
      {"1/2/05", "January 2, 2005"},
      {"1/2/29", "January 2, 2029"},
      {"1/2/30", "January 2, 1930"},
      {"01/02/1999", "January 2, 1999"},
      {"Dec 1999", "December 1999"},
      {"December 1999", "December 1999"},
      {"12 1999", "December 1999"},
      {"1999", "1999"},
      {"1000", "1000"},
      {"2200", "2200"},
  };
  for (auto [typed, stored] : accepted) {
    auto result = Normalize_date(typed);
    ASSERT_TRUE(result.has_value()) << typed;
    EXPECT_EQ(*result, stored) << typed;
  }
}

TEST(NormalizeDate, RefusesWhatItCannotReadWithoutGuessing) {
  for (const char* typed : {"",           " ",           "999",
                            "2201",       "0999",        "1e03",
                            "12/25-1999", "12 25 1999",  "2/29/1999",
                            "13/1/1999",  "12/32/1999",  "25/12/1999",
                            "Dec 1999 x", "1999 12",     "Smarch 3, 1999",
                            "12/25/199",  "12/25/19999", "12/25/1999 10:00",
                            "yesterday",  "December",    "12/25",
                            "12.25.1999", "25.12.1999"}) {
    EXPECT_FALSE(Normalize_date(typed).has_value()) << typed;
  }
}

TEST(ParseUserDate, GivesTheCalendarDate) {
  auto date = Parse_user_date("1999 December 25");
  ASSERT_TRUE(date.has_value());
  EXPECT_EQ(date->tm_year, 99);
  EXPECT_EQ(date->tm_mon, 11);
  EXPECT_EQ(date->tm_mday, 25);
  EXPECT_FALSE(Parse_user_date("Dec 1999").has_value());  // no day
  EXPECT_FALSE(Parse_user_date("Dec Jan 1999").has_value());
}

TEST(RecordNumberValue, LeadingNumberRoundedHalfToEven) {
  const std::pair<const char*, long long> cases[] = {
      {"1", 1},   {"  12", 12}, {"\t7", 7},       {"5abc", 5}, {"2.5", 2},
      {"3.5", 4}, {"2.51", 3},  {"2.49", 2},      {"0.5", 0},  {"1.5", 2},
      {"-3", -3}, {"+4", 4},    {"", 0},          {"abc", 0},  {"-", 0},
      {".", 0},   {"12 3", 12}, {"10000", 10000}, {"007", 7},  {".6", 1},
  };
  for (auto [text, value] : cases) EXPECT_EQ(Record_number_value(text), value) << text;
  EXPECT_GT(Record_number_value("99999999999999999999999"), kHighestRecordNumber);
}

}  // namespace
}  // namespace zendrel
