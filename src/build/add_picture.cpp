// Picture processing: one picture, as a source delivers it, becomes its
// display copy, thumbnail, optional copy of the original, record line and
// staging line.
#include <sys/stat.h>

#include "build/archive_names.h"
#include "build/run_context.h"
#include "imaging/scale.h"
#include "page/record_line.h"
#include "page/script_value.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

constexpr char kStagingHeader[] = "SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate";

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

class PictureProcessing {
 public:
  PictureProcessing(RunContext& run, const PictureRecord& record) : run_(run), record_(record) {}

  void Run() {
    Start_if_first();
    Write_header_once();
    if (Process()) run_.Count_one();
    run_.host().Do_events();
  }

 private:
  void Start_if_first() {
    if (!run_.first_picture_) return;
    run_.first_picture_ = false;
    run_.picture_count_ = 0;
    run_.header_written = false;
    run_.host().Set_status_caption("Running...");
  }

  void Write_header_once() {
    if (run_.header_written) return;
    run_.staging().Write_line(kStagingHeader);
    run_.header_written = true;
  }

  // True when the picture was written to the archive.
  bool Process() {
    Host& host = run_.host();
    std::string directory = Directory_part(record_.SourceFile);
    if (host.Mode() == 2) directory = host.Src_dir();
    std::string file_name = Jpg_name(File_part(record_.SourceFile));
    if (file_name.find(".jpg") == std::string::npos) return false;
    std::string source_path = Add_backslash(directory) + file_name;
    auto modified = Modified_time(source_path);
    if (!modified) return false;

    std::string stamp = Stamp_text(*modified) + file_name;
    ArchiveNames names = Names_of_code(run_.names_.Code_for(stamp, source_path));
    if (!Is_new_picture(directory, file_name)) return false;

    std::string dest = Add_backslash(host.Dest_dir());
    auto native_source = Native_path(source_path);
    auto native_display = Native_path(dest + names.display);
    auto native_thumb = Native_path(dest + names.thumbnail);
    if (!native_source || !native_display || !native_thumb) return false;
    ScaleResult made = Make_archive_pictures(*native_source, *native_display, *native_thumb);
    if (made.outcome == ScaleOutcome::kUnreadable) return false;
    if (made.outcome == ScaleOutcome::kWriteFailed) {
      run_.Fail(Status::FileError(dest + made.failed_name, made.cause));
      return false;
    }
    Copy_original(source_path, dest, file_name, names);

    return Write_lines(directory, file_name, names);
  }

  void Copy_original(const std::string& source_path, const std::string& dest,
                     const std::string& file_name, const ArchiveNames& names) {
    int16_t mode = run_.host().Copy_mode();
    if (mode == 1 && !Unsafe_file_name(file_name)) {
      Copy_file(source_path, dest + file_name);  // refuses to copy a file onto itself
    } else if (mode == 2 && !File_exists(dest + names.copy)) {
      // Straight to the copy name: a user's file of the original's name in
      // the destination, or the original itself, is never touched.
      Copy_file(source_path, dest + names.copy);
    }
  }

  bool Write_lines(const std::string& directory, const std::string& file_name,
                   const ArchiveNames& names) {
    const PictureRecord& r = record_;
    Write_record_line(run_.page(), {names.thumbnail, "", Double_backslashes(directory), file_name,
                                    r.Title, r.Subject, r.Category, r.Comment, r.Author, r.Date});
    std::string line;
    for (const std::string* field : {&r.SourceFile, &r.Title, &r.Subject, &r.Category,
                                     &r.Comment, &r.Author, &r.Date}) {
      line += Safe_staging_value(*field) + "\t";
    }
    run_.staging().Write_line(line + names.thumbnail);
    return true;
  }

  RunContext& run_;
  const PictureRecord& record_;
};

void RunContext::Add_picture(const PictureRecord& record) {
  PictureProcessing(*this, record).Run();
}

bool RunContext::Stop_requested() {
  if (!page_.status().ok()) Fail(page_.status());
  if (!staging_.status().ok()) Fail(staging_.status());
  return !failure_.ok() || host_.Go_caption().empty();
}

void RunContext::Fail(const Status& status) {
  if (failure_.ok()) failure_ = status;
}

void RunContext::Count_one() {
  ++picture_count_;
  host_.Set_status_caption(std::to_string(picture_count_));
}

}  // namespace zendrel
