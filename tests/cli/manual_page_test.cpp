// The manual page and the shell completion name every command and option
// that the command line takes.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "cli/command.h"

namespace zendrel::cli {
namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ManualPage, NamesEveryCommandAndOption) {
  std::string manual = Read(ZENDREL_SOURCE_DIR "/packaging/zendrel.1");
  std::string completion = Read(ZENDREL_SOURCE_DIR "/packaging/zendrel.bash-completion");
  ASSERT_FALSE(manual.empty());
  ASSERT_FALSE(completion.empty());
  std::regex option("--([a-z]+)");
  for (const Command& c : Commands()) {
    EXPECT_NE(manual.find(".B zendrel " + std::string(c.name)), std::string::npos) << c.name;
    EXPECT_NE(completion.find(c.name), std::string::npos) << c.name;
    std::string usage = c.usage;
    for (std::sregex_iterator it(usage.begin(), usage.end(), option), end; it != end; ++it) {
      std::string name = (*it)[1];
      EXPECT_NE(manual.find("\\-\\-" + name), std::string::npos) << c.name << " --" << name;
      EXPECT_NE(completion.find("--" + name), std::string::npos) << c.name << " --" << name;
    }
  }
}

}  // namespace
}  // namespace zendrel::cli
