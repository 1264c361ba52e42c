// Safe writing of the values of a picture record line. A value stands inside
// double quotes of the page's script and between tabs of archive.txt; a few
// characters would break either, so they are written in another form. A
// well-formed value comes out byte for byte as it went in.
//
// In the page (the form the RecordTable and the readers hold):
//   double quote       -> \x22 (the script reads a quote; the reading rule
//                         still finds ten values)
//   carriage return    -> \r, line feed -> \n
//   NUL                -> dropped
//   \ that starts no script escape that stands for a character (\\, \',
//     \n, \r, \t, \b, \f, \v, \x with two hex digits, \u with four or
//     \u{...} up to U+10FFFF) -> \\, so the page shows the backslash
//   </script, <script, <!-- (any letter case) -> <\/script, <\script, <\!--
//     so that the value cannot end or disturb the page's script block
// Already safe text passes unchanged, so writing a value twice changes nothing.
//
// In archive.txt: tab, carriage return and line feed -> one blank.
#pragma once

#include <string>

namespace zendrel {

std::string Safe_script_value(const std::string& value);
std::string Safe_staging_value(const std::string& value);

// The text a page value stands for, as the page's script reads it: its
// escapes become their characters (in the system's text).
std::string Text_of_script_value(const std::string& value);

}  // namespace zendrel
