// The files a run could not archive, each with its reason, and the files it
// archived with a remark (pictures cut short). The page and the catalogue
// leave skipped files out without a line; the user is told afterwards, on
// the command line in a summary and in the window on the status line.
#pragma once

#include <string>
#include <vector>

namespace zendrel {

enum class SkipReason {
  kOwnFileName,           // the name of a thumbnail or display copy of the system's own
  kUnreadable,            // missing, or its date cannot be read
  kNotPicture,            // no picture format the program reads
  kUnknownDrive,          // on a drive letter the drive table does not know
  kNoPermission,          // the system refuses to open it
  kEmpty,                 // a file of no bytes
  kUnsupportedFormat,     // a picture of a kind not decoded (GIF)
  kIncompleteUnreadable,  // cut short before anything decodes
  kTwelveBit,             // a 12-bit JPEG
  kTooLarge,              // beyond the size limits; the detail gives size and limit
  kOverBudget,            // would take more memory than the run allows
  kDamaged,               // a known format that does not decode
  kNameUnrepresentable,   // a name the system's text cannot hold apart from another
  kNameCollides,          // another file of the run already has its archive name
  // Files that are no pictures, told by kind rather than one by one.
  kVideo,
  kRawPhoto,
  kSidecar,
  kSound,
  kDanglingLink,
  kTrailingSpace,   // a name ending in a blank
  kUnfitCharacter,  // a name holding a control character or "\"
  // Archived, with a remark: the run did not skip it.
  kArchivedIncomplete,
};

// The reason as the user reads it, e.g. "not a picture".
const char* Skip_reason_text(SkipReason reason);

class SkippedFiles {
 public:
  struct Entry {
    std::string file;  // Windows view
    SkipReason reason;
    std::string detail;  // the particulars, such as a picture's size; may be empty
  };

  void Add(const std::string& file, SkipReason reason, const std::string& detail = {}) {
    entries_.push_back({file, reason, detail});
  }
  void Clear() { entries_.clear(); }
  // Everything told, skipped or archived with a remark.
  size_t count() const { return entries_.size(); }
  const std::vector<Entry>& entries() const { return entries_; }

  // One sentence per kind of thing told: "3 files skipped: 2 not a picture,
  // 1 no permission to read", "12 videos (.mov, .mp4) not archived",
  // "1 picture archived incomplete". Empty when none.
  std::vector<std::string> Summary_lines() const;
  // The same, joined by "; ".
  std::string Summary() const;
  // One line per file: "C:\a\b.gif: not a picture".
  std::vector<std::string> Lines() const;

 private:
  std::vector<Entry> entries_;
};

}  // namespace zendrel
