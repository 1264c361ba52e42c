// Conversion between native UTF-8 text (file names, the terminal) and the
// system's single-byte text, Windows-1252, as catalogues and pages hold it.
//
// A character that Windows-1252 cannot hold becomes "?" in the system's text.
// The file is still found again: the path lookup (native_path.h) lets "?"
// stand for any one character of a native name when the exact name is missing.
#pragma once

#include <string>

namespace zendrel {

// Native UTF-8 to Windows-1252. Invalid UTF-8 bytes are taken as
// Windows-1252 bytes of their own, so no input is lost. `lossless` (when
// given) is set false when some character had to become "?".
std::string Utf8_to_cp1252(const std::string& utf8, bool* lossless = nullptr);

// Windows-1252 to UTF-8. The five codes that Windows-1252 leaves undefined
// map to the C1 controls of the same number, so the conversion is reversible.
std::string Cp1252_to_utf8(const std::string& text);

// The Unicode code point of one Windows-1252 byte.
char32_t Cp1252_code_point(unsigned char byte);

}  // namespace zendrel
