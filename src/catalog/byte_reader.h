// ByteReader: bounds-checked reads at given positions of a binary catalogue
// held in memory. Every read is checked against the buffer; a read that
// would leave it returns a neutral value (0 or empty text) and records the
// first such failure, so a reader can go on computing and look at ok()
// before it delivers a picture. Not thread-safe; one per reading.
#pragma once

#include <cstdint>
#include <string>

namespace zendrel {

class ByteReader {
 public:
  explicit ByteReader(const std::string& bytes) : bytes_(bytes) {}

  int64_t size() const { return static_cast<int64_t>(bytes_.size()); }
  // True when [position, position + length) lies inside the buffer.
  bool Holds(int64_t position, int64_t length) const {
    return position >= 0 && length >= 0 && position <= size() && length <= size() - position;
  }

  // One unsigned byte; `what` names the value in the failure message.
  int Byte(int64_t position, const char* what);
  // A 4-byte integer, least or most significant byte first. A value whose
  // most significant byte has its top bit set reads as -1 (the catalogues
  // use that for "none").
  int32_t Le32(int64_t position, const char* what);
  int32_t Be32(int64_t position, const char* what);
  // `length` bytes as they stand.
  std::string Text(int64_t position, int64_t length, const char* what);
  // A fixed-size text field: the text before its first NUL, or the whole
  // field when it holds none. Only a field that leaves the file before its
  // text ends is a failure.
  std::string Field_text(int64_t position, int64_t field_size, const char* what);

  // Records a failure found by the caller (a loop, an impossible count).
  void Fail(const std::string& message);
  bool ok() const { return error_.empty(); }
  // The first failure: "the <what> at position N lies past the end of the file".
  const std::string& error() const { return error_; }

 private:
  void Past_end(int64_t position, const char* what);

  const std::string& bytes_;
  std::string error_;
};

}  // namespace zendrel
