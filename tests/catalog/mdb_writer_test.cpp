// The Access writer of the tests, judged by mdbtools' own programs: what
// they read back is what the description said.
#include "catalog/fixtures/mdb_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/needs_tool.h"
#include "support/temp_dir.h"

namespace zendrel::testing {
namespace {

bool Have(const char* program) {
  std::string probe = std::string("command -v ") + program + " >/dev/null 2>&1";
  return std::system(probe.c_str()) == 0;
}

std::string Output_of(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  EXPECT_EQ(pclose(pipe), 0) << command;
  return out;
}

TEST(MdbWriter, MdbtoolsReadsBackEveryKindOfValue) {
  ZENDREL_NEEDS_TOOL(Have("mdb-export"), "mdb-export (mdbtools)");
  std::string chain;  // longer than a page: a chain of long-value rows
  for (int i = 0; i < 900; ++i) chain += "line " + std::to_string(i) + " \u20ac ";
  MdbTableLayout people{"People",
                        {{"Name", MdbType::kText, 20},
                         {"Born", MdbType::kDateTime},
                         {"Count", MdbType::kLong},
                         {"Small", MdbType::kInt},
                         {"Note", MdbType::kMemo}}};
  people.rows = {{{"Name", "Zo\u00eb \"Z\""},
                  {"Born", "1998-07-24T13:45:00"},
                  {"Count", "-2147483648"},
                  {"Small", "32767"},
                  {"Note", "two\r\nlines"}},
                 {{"Name", ""}, {"Born", "2000-02-29"}, {"Note", std::string(300, 'x')}},
                 {{"Note", chain}},
                 {}};
  // mdb-export shows an empty text as a Null.
  std::string expected =
      "Name,Born,Count,Small,Note\n"
      "\"Zo\u00eb \"\"Z\"\"\",\"1998-07-24 13:45:00\",-2147483648,32767,\"two\\r\\nlines\"\n"
      "NULL,\"2000-02-29 00:00:00\",NULL,NULL,\"" +
      std::string(300, 'x') + "\"\nNULL,NULL,NULL,NULL,\"" + chain +
      "\"\nNULL,NULL,NULL,NULL,NULL\n";
  // Enough rows for several data pages, beside another table.
  MdbTableLayout many{"Many", {{"Number", MdbType::kLong}, {"Text", MdbType::kText}}};
  std::string many_expected = "Number,Text\n";
  for (int i = 0; i < 1000; ++i) {
    many.rows.push_back({{"Number", std::to_string(i)}, {"Text", std::string(i % 90, 'a')}});
    std::string text = i % 90 ? "\"" + std::string(i % 90, 'a') + "\"" : "NULL";
    many_expected += std::to_string(i) + "," + text + "\n";
  }
  TempDir dir;
  std::string file = dir.Write("judged.mdb", Mdb_database({people, many}));

  EXPECT_EQ(Output_of("mdb-tables -1 '" + file + "'"), "People\nMany\n");
  std::string export_command = "mdb-export -e -0 NULL -T '%Y-%m-%d %H:%M:%S' '" + file + "' ";
  EXPECT_TRUE(Output_of(export_command + "People") == expected);
  EXPECT_TRUE(Output_of(export_command + "Many") == many_expected);
}

TEST(MdbWriter, RefusesWhatItCannotWrite) {
  auto refused = [](const MdbTableLayout& table) {
    try {
      Mdb_database({table});
    } catch (const std::invalid_argument&) {
      return true;
    }
    return false;
  };
  EXPECT_TRUE(refused({"T", {{"A", MdbType::kText, 3}}, {{{"A", "four"}}}}));
  EXPECT_TRUE(refused({"T", {{"A", MdbType::kInt}}, {{{"A", "32768"}}}}));
  EXPECT_TRUE(refused({"T", {{"A", MdbType::kLong}}, {{{"A", "1x"}}}}));
  EXPECT_TRUE(refused({"T", {{"A", MdbType::kDateTime}}, {{{"A", "1999-13-01"}}}}));
  EXPECT_TRUE(refused({"T", {{"A", MdbType::kText}}, {{{"B", "no such column"}}}}));
  EXPECT_TRUE(refused({"T", {{"A", MdbType::kText}}, {{{"A", "\xff"}}}}));
  EXPECT_FALSE(refused({"T", {{"A", MdbType::kText, 4}}, {{{"A", "four"}}}}));
}

TEST(MdbWriter, DatesCountDaysFromTheEndOf1899) {
  EXPECT_EQ(Access_days("1899-12-30"), 0);
  EXPECT_EQ(Access_days("1900-01-01T12:00:00"), 2.5);
  EXPECT_EQ(Access_days("1899-12-29T06:00:00"), -1.25);
  EXPECT_EQ(Access_days("2000-03-01"), 36586);
}

}  // namespace
}  // namespace zendrel::testing
