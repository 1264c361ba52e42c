// Texts in a child's messages: each one a 32-bit length, then its bytes.
#pragma once

#include <cstddef>
#include <string>

namespace zendrel {

void Put_sized_text(std::string& out, const std::string& text);
// Reads the text at `at` and moves past it; false when the message ends
// before the text does.
bool Take_sized_text(const std::string& in, size_t& at, std::string* text);

}  // namespace zendrel
