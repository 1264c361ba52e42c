// The texts and dates that pictures carry, as their writers store them:
// UTF-8, Windows-1252 or UTF-16, camera placeholders, and dates in the EXIF,
// ISO 8601 and IPTC forms. Pure functions; safe on any thread.
#pragma once

#include <string>
#include <string_view>

namespace zendrel {

// Text of a field that declares no character set (EXIF ASCII, IPTC without
// a coded character set): UTF-8 when it is valid UTF-8, otherwise taken as
// Windows-1252. Returned as UTF-8, cut at the first NUL.
std::string Utf8_from_unlabelled(std::string_view bytes);

// UTF-16 bytes as UTF-8, up to the first NUL character; unpaired
// surrogates become U+FFFD. Little-endian: the Windows XP tags; a byte
// order mark, when present, decides.
std::string Utf8_from_utf16(std::string_view bytes, bool big_endian = false);

// `text` without leading and trailing blanks and control characters.
std::string Trimmed(std::string_view text);

// True for texts that say nothing of the picture: blank ones and those a
// camera writes by itself ("OLYMPUS DIGITAL CAMERA", "SONY DSC").
bool Is_placeholder(std::string_view text);

// "mmmm d, yyyy" of a date that begins "yyyy:mm:dd" (EXIF), "yyyy-mm-dd"
// (ISO 8601, XMP) or "yyyymmdd" (IPTC); "mmmm yyyy" or "yyyy" of a date that
// knows only its month or year ("1987-06", "1987", "1987:00:00"); empty
// when it holds no valid date (blank fields, a zero year, 2019:02:30).
std::string Date_text_from_metadata(std::string_view text);

// A metadata text as HTML that shows it as written: "&", "<", ">" and "\"
// as character references.
std::string Html_text_from_metadata(std::string_view utf8);

// The system's single-byte text of a UTF-8 metadata text, as HTML that
// shows it as written (above).
std::string System_text_from_metadata(const std::string& utf8);

// At most this many bytes are kept of one text.
inline constexpr size_t kMaxMetadataText = 32767;

}  // namespace zendrel
