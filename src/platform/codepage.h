// Conversion between native UTF-8 text (file names, the terminal, the
// windows) and the system's single-byte text, Windows-1252, as catalogues and
// pages hold it.
//
// A character that Windows-1252 cannot hold travels inside the system's text
// as an HTML numeric character reference, "&#26085;" for U+65E5. The page
// shows values as HTML, so it shows the real character; the conversion back
// to UTF-8 turns the reference into the character again. An "&" of a native
// name that would otherwise be read back as such a reference is written as
// "&#38;", so every valid UTF-8 text comes back byte for byte.
//
// Only references to characters outside Windows-1252 (and "&#38;") are read
// back: "&#233;" that a user typed as HTML stays the six characters it is.
#pragma once

#include <string>

namespace zendrel {

// Native UTF-8 to the system's text. Invalid UTF-8 bytes are taken as
// Windows-1252 bytes of their own, so no input is lost.
std::string Utf8_to_system_text(const std::string& utf8);

// The system's text to native UTF-8: Windows-1252 bytes and the references
// above become their characters. The five codes that Windows-1252 leaves
// undefined map to the C1 controls of the same number.
std::string System_text_to_utf8(const std::string& text);

// Windows-1252 to UTF-8 byte by byte, references left as they stand.
std::string Cp1252_to_utf8(const std::string& text);

// Appends the UTF-8 form of one code point.
void Append_utf8(std::string& out, char32_t code_point);

// The Unicode code point of one Windows-1252 byte.
char32_t Cp1252_code_point(unsigned char byte);

// When `text` holds at `pos` a reference that System_text_to_utf8 reads back,
// its length (and the character in `code_point`); otherwise 0.
size_t Character_reference_at(const std::string& text, size_t pos, char32_t* code_point);

}  // namespace zendrel
