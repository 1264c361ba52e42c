#include "build/skipped_files.h"

#include <map>

namespace zendrel {

const char* Skip_reason_text(SkipReason reason) {
  switch (reason) {
    case SkipReason::kNotJpegName:
      return "not a .jpg file";
    case SkipReason::kExtensionCase:
      return "extension neither .jpg nor .JPG";
    case SkipReason::kOwnFileName:
      return "named like the archive's own copies";
    case SkipReason::kUnreadable:
      return "missing or unreadable";
    case SkipReason::kNotJpeg:
      return "not a JPEG picture";
    case SkipReason::kUnknownDrive:
      return "on an unknown drive";
  }
  return "skipped";
}

std::string SkippedFiles::Summary() const {
  if (entries_.empty()) return {};
  std::map<SkipReason, size_t> by_reason;
  for (const Entry& entry : entries_) ++by_reason[entry.reason];
  std::string text = std::to_string(entries_.size()) +
                     (entries_.size() == 1 ? " file skipped: " : " files skipped: ");
  bool first = true;
  for (const auto& [reason, count] : by_reason) {
    if (!first) text += ", ";
    first = false;
    text += std::to_string(count) + " " + Skip_reason_text(reason);
  }
  return text;
}

std::vector<std::string> SkippedFiles::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(entries_.size());
  for (const Entry& entry : entries_)
    lines.push_back(entry.file + ": " + Skip_reason_text(entry.reason));
  return lines;
}

}  // namespace zendrel
