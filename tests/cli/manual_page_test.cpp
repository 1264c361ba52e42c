// The manual page and the shell completion name every command and option
// that the command line takes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"

namespace zendrel::cli {
namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The names of the "--name" options a usage line mentions.
std::vector<std::string> Long_options(const std::string& usage) {
  std::vector<std::string> names;
  for (size_t at = usage.find("--"); at != std::string::npos; at = usage.find("--", at)) {
    size_t start = at + 2, end = start;
    while (end < usage.size() && usage[end] >= 'a' && usage[end] <= 'z') ++end;
    if (end > start) names.push_back(usage.substr(start, end - start));
    at = end;
  }
  return names;
}

TEST(ManualPage, NamesEveryCommandAndOption) {
  std::string manual = Read(ZENDREL_SOURCE_DIR "/packaging/zendrel.1");
  std::string completion = Read(ZENDREL_SOURCE_DIR "/packaging/zendrel.bash-completion");
  ASSERT_FALSE(manual.empty());
  ASSERT_FALSE(completion.empty());
  for (const Command& c : Commands()) {
    EXPECT_NE(manual.find(".B zendrel " + std::string(c.name)), std::string::npos) << c.name;
    EXPECT_NE(completion.find(c.name), std::string::npos) << c.name;
    for (const std::string& name : Long_options(c.usage)) {
      EXPECT_NE(manual.find("\\-\\-" + name), std::string::npos) << c.name << " --" << name;
      EXPECT_NE(completion.find("--" + name), std::string::npos) << c.name << " --" << name;
    }
  }
}

}  // namespace
}  // namespace zendrel::cli
