#include "catalog/text_lines.h"

namespace zendrel {

bool TextLines::Next(std::string* line) {
  if (position_ >= bytes_.size()) return false;
  size_t end = bytes_.find_first_of("\r\n", position_);
  if (end == std::string::npos) end = bytes_.size();
  line->assign(bytes_, position_, end - position_);
  position_ = end;
  if (position_ < bytes_.size() && bytes_[position_] == '\r') ++position_;
  if (position_ < bytes_.size() && bytes_[position_] == '\n') ++position_;
  return true;
}

// A lone double quote is left as it is: it does not enclose anything.
void Strip_enclosing_quotes(std::string* field) {
  if (field->size() >= 2 && field->front() == '"' && field->back() == '"')
    *field = field->substr(1, field->size() - 2);
}

}  // namespace zendrel
