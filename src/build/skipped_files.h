// The files a run could not archive, each with its reason. The page and the
// catalogue leave them out without a line; the user is told afterwards, on
// the command line in a summary and in the window on the status line.
#pragma once

#include <string>
#include <vector>

namespace zendrel {

enum class SkipReason {
  kNotJpegName,    // the name does not end in .jpg
  kExtensionCase,  // .jpg in another letter case than .jpg or .JPG, such as .Jpg
  kOwnFileName,    // the name of a thumbnail or display copy of the system's own
  kUnreadable,     // missing, or its date cannot be read
  kNotJpeg,        // not a JPEG picture that can be decoded
  kUnknownDrive,   // on a drive letter the drive table does not know
};

// The reason as the user reads it, e.g. "not a JPEG picture".
const char* Skip_reason_text(SkipReason reason);

class SkippedFiles {
 public:
  struct Entry {
    std::string file;  // Windows view
    SkipReason reason;
  };

  void Add(const std::string& file, SkipReason reason) { entries_.push_back({file, reason}); }
  void Clear() { entries_.clear(); }
  size_t count() const { return entries_.size(); }
  const std::vector<Entry>& entries() const { return entries_; }

  // "3 files skipped: 2 not a JPEG picture, 1 unreadable"; empty when none.
  std::string Summary() const;
  // One line per file: "C:\a\b.gif: not a JPEG picture".
  std::vector<std::string> Lines() const;

 private:
  std::vector<Entry> entries_;
};

}  // namespace zendrel
