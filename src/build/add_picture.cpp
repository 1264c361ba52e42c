// Picture processing: one picture, as a source delivers it, becomes its
// display copy, thumbnail, optional copy of the original, record line and
// staging line. Taking a picture in works out its names on the run's
// thread and starts its copies on a worker; writing it, in delivery order,
// does everything the user can see.
#include "build/add_picture.h"

#include <sys/stat.h>

#include <chrono>
#include <utility>

#include "build/run_context.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture_file.h"
#include "page/record_line.h"
#include "page/script_value.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

constexpr auto kEventTurn = std::chrono::milliseconds(50);

// A name that, joined to the destination, would lead out of it. ":" is an
// ordinary character of a native name.
bool Unsafe_file_name(const std::string& name) {
  return name.empty() || name == "." || name == ".." ||
         name.find_first_of(std::string("/\\\0", 3)) != std::string::npos;
}

std::string Jpg_name(std::string name) {
  size_t upper = name.find(".JPG");
  if (upper != std::string::npos) name = name.substr(0, upper) + ".jpg";
  return name;
}

// The name a picture is recorded under: ".JPG" made ".jpg" (pages rely on
// it), unless that would make it another name than its own in any way but
// letter case ("holiday.JPG.jpg"), or the name it would become belongs to
// another file beside it ("IMG_1.jpg" beside "IMG_1.JPG").
std::string Recorded_name(const DriveTable& drives, const std::string& directory,
                          const std::string& name) {
  std::string rewritten = Jpg_name(name);
  if (rewritten == name || Fold_case(rewritten) != Fold_case(name)) return name;
  auto other = Native_target_path(drives, Add_backslash(directory) + rewritten);
  struct stat existing;
  if (other && ::lstat(other->c_str(), &existing) == 0) return name;
  return rewritten;
}

// The original's extension in lower case: its copy under a unique name
// keeps what kind of file it is.
std::string Copy_name(const std::string& generated, const std::string& file_name) {
  size_t dot = file_name.rfind('.');
  std::string extension = dot == std::string::npos ? "" : Fold_case(file_name.substr(dot));
  if (extension.size() < 2 || Unsafe_file_name("x" + extension)) return generated;
  return generated.substr(0, generated.rfind('.')) + extension;
}

struct Skipping {
  SkipReason reason;
  std::string detail;
};

Skipping Reason_for(const PictureReading& reading) {
  switch (reading.problem) {
    case ReadProblem::kNoPermission:
      return {SkipReason::kNoPermission, ""};
    case ReadProblem::kEmpty:
      return {SkipReason::kEmpty, ""};
    case ReadProblem::kNotPicture:
      return {SkipReason::kNotPicture, ""};
    case ReadProblem::kUnsupportedFormat:
      return {SkipReason::kUnsupportedFormat, ""};
    case ReadProblem::kIncompleteUnreadable:
      return {SkipReason::kIncompleteUnreadable, ""};
    case ReadProblem::kTwelveBit:
      return {SkipReason::kTwelveBit, ""};
    case ReadProblem::kTooLarge: {
      PixelSize size = reading.size;
      if (size.width < 1 || size.height < 1) return {SkipReason::kTooLarge, "more than 512 MB"};
      std::string shown = std::to_string(size.width) + "x" + std::to_string(size.height);
      if (size.width > kMaxSide || size.height > kMaxSide)
        return {SkipReason::kTooLarge, shown + "; the limit is " + std::to_string(kMaxSide)};
      return {SkipReason::kTooLarge,
              shown + "; the limit is " + std::to_string(kMaxPixels / 1000000) + " megapixels"};
    }
    case ReadProblem::kOverBudget:
      return {SkipReason::kOverBudget, ""};
    case ReadProblem::kMissing:
      return {SkipReason::kUnreadable, ""};
    case ReadProblem::kNone:
    case ReadProblem::kDamaged:
      break;
  }
  return {SkipReason::kDamaged, ""};
}

}  // namespace

PictureProcessing::PictureProcessing(RunContext& run, RunNames& names, ScalingPool& pool)
    : run_(run),
      request_(run.request()),
      drives_(request_.drives),
      observer_(run.observer()),
      names_(names),
      pool_(pool) {}

PendingPicture PictureProcessing::Take_in(const PictureRecord& record) {
  PendingPicture p;
  p.record = record;
  p.directory = request_.mode == RunMode::kCatalogueFromSource ? request_.src_dir
                                                               : Directory_part(record.SourceFile);
  // Read under its own name, recorded under the name pages expect.
  std::string own_name = File_part(record.SourceFile);
  p.file_name = Recorded_name(drives_, p.directory, own_name);
  p.source_path = Add_backslash(p.directory) + own_name;
  auto modified = Modified_time(drives_, p.source_path);
  if (!modified) return Skip(p, SkipReason::kUnreadable);

  std::string stamp = Stamp_text(*modified) + p.file_name;
  p.names = Names_of_code(names_.Code_for(stamp, p.source_path));
  p.names.copy = Copy_name(p.names.copy, own_name);
  if (!Is_new_picture(drives_, p.directory, p.file_name)) return Skip(p, SkipReason::kOwnFileName);
  p.dest = Add_backslash(request_.dest_dir);
  auto native_source = Native_path(drives_, p.source_path);
  // Written under exactly these names: a lookup never picks a file to write.
  auto native_display = Native_target_path(drives_, p.dest + p.names.display);
  auto native_thumbnail = Native_target_path(drives_, p.dest + p.names.thumbnail);
  if (!native_source || !native_display || !native_thumbnail)
    return Skip(p, SkipReason::kUnknownDrive);
  p.native_display = *native_display;
  p.native_thumbnail = *native_thumbnail;
  struct stat source;
  if (::stat(native_source->c_str(), &source) != 0) return Skip(p, SkipReason::kUnreadable);
  // Whether it is a picture at all is told by its first bytes, before a
  // worker reads it whole.
  if (ReadProblem problem = Picture_file_problem(*native_source); problem != ReadProblem::kNone) {
    PictureReading reading;
    reading.problem = problem;
    Skipping why = Reason_for(reading);
    return Skip(p, why.reason, why.detail);
  }
  p.skipped = false;
  // Names can be reused by another picture (the "~1" names depend on the
  // order of a run), and a picture edited with its time kept keeps its
  // names: copies are kept only when their comment names this original.
  p.made_from = Made_from_text(
      source.st_size, source.st_mtim.tv_sec * 1000000000LL + source.st_mtim.tv_nsec, p.file_name);
  p.kept = !request_.rebuild &&
           Is_archive_copy(p.native_display, {1024, 768}, false, p.made_from) &&
           Is_archive_copy(p.native_thumbnail, {96, 96}, true, p.made_from);
  if (!p.kept) p.copies = pool_.Submit(*native_source);
  return p;
}

bool PictureProcessing::Write(PendingPicture& p) {
  if (p.skipped) return false;
  ArchiveJpegs copies;
  if (!p.kept) {
    while (p.copies.wait_for(kEventTurn) != std::future_status::ready) observer_.Do_events();
    copies = p.copies.get();
  }
  // Asked again now: an earlier picture may have written this one's partner.
  if (!Is_new_picture(drives_, p.directory, p.file_name)) {
    Tell_skipped(p, SkipReason::kOwnFileName);
    return false;
  }
  if (!p.kept && !copies.readable) {
    Skipping why = Reason_for(copies.reading);
    Tell_skipped(p, why.reason, why.detail);
    return false;
  }
  if (!p.kept && !Write_copies(p, copies)) return false;
  Copy_original(p);
  Write_lines(p);
  if (!p.kept && copies.reading.incomplete) Tell_skipped(p, SkipReason::kArchivedIncomplete);
  return true;
}

PendingPicture PictureProcessing::Skip(PendingPicture& p, SkipReason reason,
                                       const std::string& detail) {
  Tell_skipped(p, reason, detail);
  return std::move(p);
}

void PictureProcessing::Tell_skipped(const PendingPicture& p, SkipReason reason,
                                     const std::string& detail) {
  observer_.Picture_skipped(p.source_path.empty() ? p.record.SourceFile : p.source_path, reason,
                            detail);
}

bool PictureProcessing::Write_copies(const PendingPicture& p, const ArchiveJpegs& copies) {
  std::string display = With_comment(copies.display, p.made_from);
  std::string thumbnail = With_comment(copies.thumbnail, p.made_from);
  std::string cause = Write_whole_file(p.native_display, display.data(), display.size());
  if (!cause.empty()) {
    run_.Fail(Status::FileError(p.dest + p.names.display, cause));
    return false;
  }
  cause = Write_whole_file(p.native_thumbnail, thumbnail.data(), thumbnail.size());
  if (!cause.empty()) {
    Delete_file(drives_, p.dest + p.names.display);  // no display copy without its thumbnail
    run_.Fail(Status::FileError(p.dest + p.names.thumbnail, cause));
    return false;
  }
  return true;
}

// A copy never replaces a file of other bytes: where the original's name
// is taken in the destination (the user's own picture, or another picture
// of the run named alike), the copy goes under the picture's unique copy
// name instead. A copy that fails ends the run.
void PictureProcessing::Copy_original(const PendingPicture& p) {
  CopyMode mode = request_.copy_mode;
  if (mode == CopyMode::kKeepNames && !Unsafe_file_name(p.file_name)) {
    auto native_source = Native_path(drives_, p.source_path);
    auto native_copy = Native_target_path(drives_, p.dest + p.file_name);
    if (!native_source || !native_copy) return;
    struct stat source, existing;
    if (::lstat(native_copy->c_str(), &existing) != 0) {
      Copy_to(p, *native_copy, p.dest + p.file_name);
      return;
    }
    if (::stat(native_source->c_str(), &source) == 0 &&
        ::stat(native_copy->c_str(), &existing) == 0 && source.st_dev == existing.st_dev &&
        source.st_ino == existing.st_ino)
      return;  // the original itself
    bool same = false;
    Files_hold_same_bytes(*native_source, *native_copy, &same);
    if (!same) Copy_under_unique_name(p);
  } else if (mode == CopyMode::kUniqueNames) {
    // Straight to the copy name: a user's file of the original's name in
    // the destination, or the original itself, is never touched.
    Copy_under_unique_name(p);
  }
}

void PictureProcessing::Copy_under_unique_name(const PendingPicture& p) {
  auto native_copy = Native_target_path(drives_, p.dest + p.names.copy);
  struct stat existing;
  if (native_copy && ::lstat(native_copy->c_str(), &existing) != 0)
    Copy_to(p, *native_copy, p.dest + p.names.copy);
}

void PictureProcessing::Copy_to(const PendingPicture& p, const std::string& native_copy,
                                const std::string& copy) {
  Status copied = Copy_file_to(drives_, p.source_path, native_copy, copy);
  if (!copied.ok()) run_.Fail(copied);
}

void PictureProcessing::Write_lines(const PendingPicture& p) {
  const PictureRecord& r = p.record;
  Write_record_line(run_.page(), {.thumb = p.names.thumbnail,
                                  .file = "",
                                  .path = Double_backslashes(p.directory),
                                  .source = p.file_name,
                                  .title = r.Title,
                                  .subject = r.Subject,
                                  .category = r.Category,
                                  .comment = r.Comment,
                                  .author = r.Author,
                                  .picdate = r.Date});
  std::string line;
  for (const std::string* field :
       {&r.SourceFile, &r.Title, &r.Subject, &r.Category, &r.Comment, &r.Author, &r.Date}) {
    line += Safe_staging_value(*field) + "\t";
  }
  run_.staging().Write_line(line + p.names.thumbnail);
}

}  // namespace zendrel
