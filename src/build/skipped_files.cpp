#include "build/skipped_files.h"

#include <map>
#include <set>

#include "platform/win_path.h"

namespace zendrel {
namespace {

// Files that are no pictures, told by kind: what one is called, and many.
struct Kind {
  const char* one;
  const char* many;
};

const Kind* Kind_of(SkipReason reason) {
  static const Kind kVideo{"video", "videos"}, kRaw{"camera RAW file", "camera RAW files"},
      kSidecar{"sidecar file", "sidecar files"}, kSound{"sound recording", "sound recordings"},
      kLink{"dangling symbolic link", "dangling symbolic links"},
      kSpace{"file whose name ends in a space", "files whose names end in a space"},
      kUnfit{"file whose name holds a control character or \"\\\"",
             "files whose names hold a control character or \"\\\""};
  switch (reason) {
    case SkipReason::kVideo:
      return &kVideo;
    case SkipReason::kRawPhoto:
      return &kRaw;
    case SkipReason::kSidecar:
      return &kSidecar;
    case SkipReason::kSound:
      return &kSound;
    case SkipReason::kDanglingLink:
      return &kLink;
    case SkipReason::kTrailingSpace:
      return &kSpace;
    case SkipReason::kUnfitCharacter:
      return &kUnfit;
    default:
      return nullptr;
  }
}

// ".mov" of "C:\a\IMG_1.MOV": extensions are listed as the kind's, in lower case.
std::string Extension_of(const std::string& file) {
  size_t slash = file.rfind('\\');
  size_t dot = file.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return Fold_case(file.substr(dot));
}

}  // namespace

const char* Skip_reason_text(SkipReason reason) {
  switch (reason) {
    case SkipReason::kOwnFileName:
      return "named like the archive's own copies";
    case SkipReason::kUnreadable:
      return "missing or unreadable";
    case SkipReason::kNotPicture:
      return "not a picture";
    case SkipReason::kUnknownDrive:
      return "on an unknown drive";
    case SkipReason::kNoPermission:
      return "no permission to read";
    case SkipReason::kEmpty:
      return "empty file";
    case SkipReason::kUnsupportedFormat:
      return "GIF picture, not supported";
    case SkipReason::kIncompleteUnreadable:
      return "incomplete and unreadable";
    case SkipReason::kTwelveBit:
      return "12-bit JPEG, not supported";
    case SkipReason::kTooLarge:
      return "too large";
    case SkipReason::kOverBudget:
      return "decoding needs more memory than the run allows";
    case SkipReason::kDamaged:
      return "damaged, nothing of it decodes";
    case SkipReason::kNameUnrepresentable:
      return "its name cannot be told apart from another file's in the archive";
    case SkipReason::kNameCollides:
      return "another file of the run takes its name in the archive";
    case SkipReason::kVideo:
      return "a video, not archived";
    case SkipReason::kRawPhoto:
      return "a camera RAW file, not archived";
    case SkipReason::kSidecar:
      return "a sidecar file, not archived";
    case SkipReason::kSound:
      return "a sound recording, not archived";
    case SkipReason::kDanglingLink:
      return "a dangling symbolic link, not archived";
    case SkipReason::kTrailingSpace:
      return "its name ends in a space, not archived";
    case SkipReason::kUnfitCharacter:
      return "its name holds a control character or \"\\\", not archived";
    case SkipReason::kArchivedIncomplete:
      return "incomplete, archived as far as it decodes";
  }
  return "skipped";
}

std::vector<std::string> SkippedFiles::Summary_lines() const {
  std::map<SkipReason, size_t> skipped;
  std::map<SkipReason, std::pair<size_t, std::set<std::string>>> kinds;
  size_t skipped_count = 0, incomplete = 0;
  for (const Entry& entry : entries_) {
    if (entry.reason == SkipReason::kArchivedIncomplete) {
      ++incomplete;
    } else if (Kind_of(entry.reason)) {
      auto& [count, extensions] = kinds[entry.reason];
      ++count;
      std::string extension = Extension_of(entry.file);
      // Only files of a kind list their extensions; a name's fault is not one.
      bool by_extension = entry.reason != SkipReason::kDanglingLink &&
                          entry.reason != SkipReason::kTrailingSpace &&
                          entry.reason != SkipReason::kUnfitCharacter;
      if (by_extension && !extension.empty()) extensions.insert(extension);
    } else {
      ++skipped[entry.reason];
      ++skipped_count;
    }
  }
  std::vector<std::string> lines;
  if (skipped_count > 0) {
    std::string text = std::to_string(skipped_count) +
                       (skipped_count == 1 ? " file skipped: " : " files skipped: ");
    bool first = true;
    for (const auto& [reason, count] : skipped) {
      if (!first) text += ", ";
      first = false;
      text += std::to_string(count) + " " + Skip_reason_text(reason);
    }
    lines.push_back(text);
  }
  for (const auto& [reason, found] : kinds) {
    const Kind* kind = Kind_of(reason);
    std::string text =
        std::to_string(found.first) + " " + (found.first == 1 ? kind->one : kind->many);
    std::string listed;
    for (const std::string& extension : found.second)
      listed += (listed.empty() ? "" : ", ") + extension;
    if (!listed.empty()) text += " (" + listed + ")";
    lines.push_back(text + " not archived");
  }
  if (incomplete > 0)
    lines.push_back(std::to_string(incomplete) + (incomplete == 1
                                                      ? " picture archived incomplete"
                                                      : " pictures archived incomplete"));
  return lines;
}

std::string SkippedFiles::Summary() const {
  std::string text;
  for (const std::string& line : Summary_lines()) text += (text.empty() ? "" : "; ") + line;
  return text;
}

std::vector<std::string> SkippedFiles::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(entries_.size());
  for (const Entry& entry : entries_) {
    std::string reason = Skip_reason_text(entry.reason);
    if (!entry.detail.empty()) reason += " (" + entry.detail + ")";
    lines.push_back(entry.file + ": " + reason);
  }
  return lines;
}

}  // namespace zendrel
