// A small parser for "--name value" and "--flag" options.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zendrel::cli {

class Options {
 public:
  // `with_value`: options that take a value; `flags`: those that do not.
  // Values of options given several times are all kept (--drive).
  Options(const std::vector<std::string>& args, const std::set<std::string>& with_value,
          const std::set<std::string>& flags);

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  std::optional<std::string> Get(const std::string& name) const;
  std::vector<std::string> All(const std::string& name) const;
  bool Has(const std::string& name) const;
  const std::vector<std::string>& positional() const { return positional_; }

 private:
  std::multimap<std::string, std::string> values_;
  std::set<std::string> flags_;
  std::vector<std::string> positional_;
  std::string error_;
};

}  // namespace zendrel::cli
