// Lines of a text catalogue held in memory. A line ends at carriage return
// and line feed, or at either alone (files moved between systems); the last
// line counts whether or not it has an end. No length limit.
#pragma once

#include <cstddef>
#include <string>

namespace zendrel {

class TextLines {
 public:
  explicit TextLines(const std::string& bytes) : bytes_(bytes) {}

  // The next line without its end; false at the end of the file.
  bool Next(std::string* line);

 private:
  const std::string& bytes_;
  size_t position_ = 0;
};

// Drops one pair of double quotes that encloses the whole field.
void Strip_enclosing_quotes(std::string* field);

}  // namespace zendrel
