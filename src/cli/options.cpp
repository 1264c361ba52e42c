#include "cli/options.h"

namespace zendrel::cli {

Options::Options(const std::vector<std::string>& args, const std::set<std::string>& with_value,
                 const std::set<std::string>& flags) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) {
      positional_.push_back(arg);
      continue;
    }
    std::string name = arg.substr(2);
    std::string value;
    bool inline_value = false;
    if (size_t eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      inline_value = true;
    }
    if (flags.count(name) && !inline_value) {
      flags_.insert(name);
    } else if (with_value.count(name)) {
      if (!inline_value) {
        if (i + 1 >= args.size()) {
          error_ = "--" + name + " needs a value";
          return;
        }
        value = args[++i];
      }
      values_.emplace(name, value);
    } else {
      error_ = "unknown option --" + name;
      return;
    }
  }
}

std::optional<std::string> Options::Get(const std::string& name) const {
  auto range = values_.equal_range(name);
  if (range.first == range.second) return std::nullopt;
  return std::prev(range.second)->second;
}

std::vector<std::string> Options::All(const std::string& name) const {
  std::vector<std::string> all;
  auto range = values_.equal_range(name);
  for (auto it = range.first; it != range.second; ++it) all.push_back(it->second);
  return all;
}

bool Options::Has(const std::string& name) const { return flags_.count(name) > 0; }

}  // namespace zendrel::cli
