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

// A name that, joined to the destination, would lead out of it.
bool Unsafe_file_name(const std::string& name) {
  return name.empty() || name == "." || name == ".." ||
         name.find_first_of(std::string("/:\0", 3)) != std::string::npos;
}

std::string Jpg_name(std::string name) {
  size_t upper = name.find(".JPG");
  if (upper != std::string::npos) name = name.substr(0, upper) + ".jpg";
  return name;
}

}  // namespace

PictureProcessing::PictureProcessing(RunContext& run, RunNames& names, DestinationIndex& dest_index,
                                     ScalingPool& pool)
    : run_(run), host_(run.host()), names_(names), dest_index_(dest_index), pool_(pool) {}

PendingPicture PictureProcessing::Take_in(const PictureRecord& record) {
  PendingPicture p;
  p.record = record;
  p.directory = host_.Mode() == RunMode::kCatalogueFromSource ? host_.Src_dir()
                                                              : Directory_part(record.SourceFile);
  p.file_name = Jpg_name(File_part(record.SourceFile));
  if (p.file_name.find(".jpg") == std::string::npos) {
    bool other_case = Fold_case(p.file_name).find(".jpg") != std::string::npos;
    return Skip(p, other_case ? SkipReason::kExtensionCase : SkipReason::kNotJpegName);
  }
  p.source_path = Add_backslash(p.directory) + p.file_name;
  auto modified = Modified_time(p.source_path);
  if (!modified) return Skip(p, SkipReason::kUnreadable);

  std::string stamp = Stamp_text(*modified) + p.file_name;
  p.names = Names_of_code(names_.Code_for(stamp, p.source_path));
  if (!Is_new_picture(p.directory, p.file_name)) return Skip(p, SkipReason::kOwnFileName);
  p.dest = Add_backslash(host_.Dest_dir());
  auto native_source = Native_path(p.source_path);
  auto native_display = dest_index_.Native(p.dest, p.names.display);
  auto native_thumbnail = dest_index_.Native(p.dest, p.names.thumbnail);
  if (!native_source || !native_display || !native_thumbnail)
    return Skip(p, SkipReason::kUnknownDrive);
  p.native_display = *native_display;
  p.native_thumbnail = *native_thumbnail;
  p.skipped = false;
  // The names hold the picture's time and name: copies already there
  // under them are this picture's, made by an earlier run.
  p.kept = !host_.Rebuild() && Is_archive_copy(p.native_display, {1024, 768}, false) &&
           Is_archive_copy(p.native_thumbnail, {96, 96}, true);
  if (!p.kept) p.copies = pool_.Submit(*native_source);
  return p;
}

bool PictureProcessing::Write(PendingPicture& p) {
  if (p.skipped) return false;
  ArchiveJpegs copies;
  if (!p.kept) {
    while (p.copies.wait_for(kEventTurn) != std::future_status::ready) host_.Do_events();
    copies = p.copies.get();
  }
  // Asked again now: an earlier picture may have written this one's partner.
  if (!Is_new_picture(p.directory, p.file_name)) {
    Tell_skipped(p, SkipReason::kOwnFileName);
    return false;
  }
  if (!p.kept && !copies.readable) {
    Tell_skipped(p, SkipReason::kNotJpeg);
    return false;
  }
  if (!p.kept && !Write_copies(p, copies)) return false;
  Copy_original(p);
  Write_lines(p);
  return true;
}

PendingPicture PictureProcessing::Skip(PendingPicture& p, SkipReason reason) {
  Tell_skipped(p, reason);
  return std::move(p);
}

void PictureProcessing::Tell_skipped(const PendingPicture& p, SkipReason reason) {
  host_.Picture_skipped(p.source_path.empty() ? p.record.SourceFile : p.source_path, reason);
}

bool PictureProcessing::Write_copies(const PendingPicture& p, const ArchiveJpegs& copies) {
  std::string cause =
      Write_whole_file(p.native_display, copies.display.data(), copies.display.size());
  if (!cause.empty()) {
    run_.Fail(Status::FileError(p.dest + p.names.display, cause));
    return false;
  }
  cause = Write_whole_file(p.native_thumbnail, copies.thumbnail.data(), copies.thumbnail.size());
  if (!cause.empty()) {
    Delete_file(p.dest + p.names.display);  // no display copy without its thumbnail
    run_.Fail(Status::FileError(p.dest + p.names.thumbnail, cause));
    return false;
  }
  return true;
}

void PictureProcessing::Copy_original(const PendingPicture& p) {
  CopyMode mode = host_.Copy_mode();
  if (mode == CopyMode::kKeepNames && !Unsafe_file_name(p.file_name)) {
    Copy_file(p.source_path, p.dest + p.file_name);  // refuses to copy a file onto itself
  } else if (mode == CopyMode::kUniqueNames) {
    // Straight to the copy name: a user's file of the original's name in
    // the destination, or the original itself, is never touched.
    auto native_copy = dest_index_.Native(p.dest, p.names.copy);
    struct stat existing;
    if (native_copy && ::stat(native_copy->c_str(), &existing) != 0)
      Copy_file_to(p.source_path, *native_copy, p.dest + p.names.copy);
  }
}

void PictureProcessing::Write_lines(const PendingPicture& p) {
  const PictureRecord& r = p.record;
  Write_record_line(run_.page(),
                    {p.names.thumbnail, "", Double_backslashes(p.directory), p.file_name, r.Title,
                     r.Subject, r.Category, r.Comment, r.Author, r.Date});
  std::string line;
  for (const std::string* field :
       {&r.SourceFile, &r.Title, &r.Subject, &r.Category, &r.Comment, &r.Author, &r.Date}) {
    line += Safe_staging_value(*field) + "\t";
  }
  run_.staging().Write_line(line + p.names.thumbnail);
}

}  // namespace zendrel
