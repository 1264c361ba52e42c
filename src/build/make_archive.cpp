#include "build/make_archive.h"

#include <algorithm>
#include <optional>

#include "build/archive_shrink.h"
#include "build/catalogue_types.h"
#include "build/copy_texture.h"
#include "build/run_context.h"
#include "catalog/label_drive_table.h"
#include "catalog/scan_source.h"
#include "master/make_master.h"
#include "page/archive_page_reader.h"
#include "page/page_head.h"
#include "page/page_tail.h"
#include "platform/archive_lock.h"
#include "platform/catalogue_file.h"
#include "platform/file_system.h"
#include "platform/win_path.h"

namespace zendrel {
namespace {

constexpr char kNotSupported[] = "Catalog file type not supported";

// The master archive sees the run only through its own narrow interface.
class MasterRunOf final : public MasterRun {
 public:
  explicit MasterRunOf(RunContext& run) : run_(run) {}
  OutputFile& page() override { return run_.page(); }
  OutputFile& staging() override { return run_.staging(); }
  std::string Dest_dir() override { return run_.request().dest_dir; }
  const DriveTable& Drives() override { return run_.request().drives; }
  void Expect_pages(int32_t total) override { run_.Expect_pictures(total); }
  void Count_one() override {
    run_.Count_one();
    run_.Advance();
  }
  void Do_events() override { run_.observer().Do_events(); }
  bool Stop_requested() override { return run_.Stop_requested(); }

 private:
  RunContext& run_;
};

class Run {
 public:
  Run(const RunRequest& request, RunObserver& observer, const StopRequest& stop)
      : request_(request),
        observer_(observer),
        stop_(stop),
        context_(request_, observer, stop),
        mode_(request.mode) {
    if (!request_.label_drives) request_.label_drives = &own_labels_;
  }

  RunOutcome Go() {
    context_.Show_status("");
    if (auto refused = Check_selection()) return *refused;
    if (mode_ != RunMode::kSourceDirectory && mode_ != RunMode::kMaster &&
        request_.cat_file == "archive.htm")
      return Edit();
    if (Status locked = lock_.Acquire(request_.drives, request_.dest_dir); !locked.ok())
      return Refuse(locked.message());
    if (!Ask_copy_question()) return {RunEnd::kRefused, ""};
    if (Reads_catalogue()) {
      if (auto refused = Open_catalogue()) return *refused;
    }
    if (auto failed = Open_outputs()) return *failed;
    observer_.Running(true);
    Status source = Call_source();
    context_.Finish_pictures(source_checks_stop_);
    Tell_damaged_metadata();
    return Complete(source);
  }

 private:
  // The two kinds of run that read a catalogue file.
  bool Reads_catalogue() const {
    return mode_ == RunMode::kCatalogue || mode_ == RunMode::kCatalogueFromSource;
  }

  std::optional<RunOutcome> Check_selection() {
    const std::string& file = request_.cat_file;
    bool needs_file = Reads_catalogue() || mode_ == RunMode::kEditArchive;
    if (needs_file && file.empty())
      return Refuse(mode_ == RunMode::kEditArchive ? "Select Archive File" : "Select Catalog File");
    if (needs_file && file == "archive.htm") return std::nullopt;
    if (mode_ == RunMode::kEditArchive || (Reads_catalogue() && !Readable_catalogue_type(file)))
      return Refuse(kNotSupported);
    return std::nullopt;
  }

  RunOutcome Refuse(const std::string& message) {
    observer_.Message_box(message, Buttons::kOk);
    return {RunEnd::kRefused, message};
  }

  RunOutcome Edit() {
    RecordTable records;
    Status read = Read_archive_page(request_.drives, Add_backslash(request_.cat_dir), records);
    if (!read.ok()) {
      observer_.Message_box(read.message(), Buttons::kOk);
      return {RunEnd::kFailed, read.message()};
    }
    observer_.Edit_records(std::move(records));
    return {RunEnd::kEdited, ""};
  }

  bool Ask_copy_question() {
    bool ask = mode_ == RunMode::kCatalogue ||
               ((mode_ == RunMode::kCatalogueFromSource || mode_ == RunMode::kSourceDirectory) &&
                request_.dest_dir != request_.src_dir);
    request_.copy_mode = ask ? observer_.Ask_copy_originals() : CopyMode::kNoCopy;
    return request_.copy_mode != CopyMode::kCancelled;
  }

  // The availability check, before anything of the destination is touched.
  std::optional<RunOutcome> Open_catalogue() {
    catalogue_path_ = Add_backslash(request_.cat_dir) + request_.cat_file;
    // The type is told by the whole path (the name passed the check above);
    // the database reader opens its file itself, every other one reads the
    // bytes opened here.
    catalogue_type_ = Readable_catalogue_type(catalogue_path_);
    if (catalogue_type_ && catalogue_type_->opens_file_itself) return std::nullopt;
    for (;;) {
      CatalogueFile::Result result = catalogue_.Open(request_.drives, catalogue_path_);
      if (result == CatalogueFile::Result::kOpened) return std::nullopt;
      if (result == CatalogueFile::Result::kInUse) {
        std::string text = request_.cat_file + " is currently open by another program.\r" +
                           "Please close the file and try again.";
        if (observer_.Message_box(text, Buttons::kRetryCancel) == Answer::kRetry) continue;
        return RunOutcome{RunEnd::kRefused, text};
      }
      std::string text = !catalogue_.refusal().empty()
                             ? catalogue_.refusal()
                             : request_.cat_file + " Error " +
                                   std::to_string(catalogue_.error_number()) + " (" +
                                   Errno_text(catalogue_.error_number()) + ")";
      observer_.Message_box(text, Buttons::kOk);
      return RunOutcome{RunEnd::kRefused, text};
    }
  }

  std::optional<RunOutcome> Open_outputs() {
    std::string dest = Add_backslash(request_.dest_dir);
    replace_staging_ = Reads_catalogue() && catalogue_path_ == dest + "archive.txt";
    Status opened = context_.page().Open(request_.drives, dest + "archive.htm");
    if (opened.ok()) {
      Write_page_head(context_.page());
      opened = context_.staging().Open(request_.drives,
                                       dest + (replace_staging_ ? "archive2.txt" : "archive.txt"));
    }
    if (!opened.ok()) return Fail(opened);
    return std::nullopt;
  }

  Status Call_source() {
    if (mode_ == RunMode::kSourceDirectory) {
      // A source directory that cannot be listed, or that goes away, is no
      // archive of it: the run fails and the previous archive stays.
      metadata_.take = request_.take_metadata;
      Status scanned = Scan_source(request_.src_dir, context_, request_.drives, &metadata_);
      if (!scanned.ok()) context_.Fail(scanned);
      return Status();
    }
    if (mode_ == RunMode::kMaster) {
      MasterRunOf master(context_);
      return Make_master(master);
    }
    const std::string& path = catalogue_path_;
    if (!catalogue_type_) {
      observer_.Message_box(kNotSupported, Buttons::kOk);
      return Status();
    }
    source_checks_stop_ = catalogue_type_->honours_stop;
    Status status = catalogue_type_->read(
        {path, catalogue_.bytes(), context_, *request_.label_drives, request_.drives});
    if (!status.ok()) return Status::FileError(path, status.message());
    return status;
  }

  // Only pictures that made it into the page count: a damaged picture that
  // was skipped as well is told as skipped.
  void Tell_damaged_metadata() {
    int32_t archived = 0;
    for (const std::string& file : metadata_.degraded_files) {
      if (!context_.Archived(file)) continue;
      ++archived;
      observer_.Metadata_damaged_file(file);
    }
    if (archived > 0) observer_.Metadata_damaged(archived);
  }

  // Everything of the run is written completely before anything is
  // replaced, so a disk that fills at the end leaves the previous archive
  // whole rather than a new catalogue beside an old page.
  RunOutcome Complete(const Status& source) {
    catalogue_.Close();
    context_.Stop_requested();  // picks up a write failure of the last picture
    if (!context_.failure().ok()) return Fail(context_.failure());
    bool stopped = stop_.Requested();
    std::string dest = Add_backslash(request_.dest_dir);
    if (!source.ok() && Reads_catalogue() && File_exists(request_.drives, dest + "archive.htm")) {
      // A catalogue found damaged never costs the archive already there.
      return Fail(Status::Error(source.message() + "\r" + "The archive in " + request_.dest_dir +
                                " was left as it was."));
    }
    // The staging file holds a header and then one line per record.
    int records = int(std::max(0LL, context_.staging().lines_written() - 1));
    if (records == 0 && !stopped) {
      if (auto refused = Refuse_empty_run(request_.drives, request_.dest_dir, What_was_found()))
        return Fail(*refused);
    }
    std::string kept_note;
    if (stopped) {
      Status kept =
          Keep_page_a_stop_would_shorten(request_.drives, request_.dest_dir, records, &kept_note);
      if (!kept.ok()) return Fail(kept);
    }
    if (Status texture = Copy_texture(request_.drives, request_.dest_dir); !texture.ok())
      return Fail(texture);
    Write_page_tail(context_.page());
    // archive2.txt, written beside the catalogue being read, becomes
    // archive.txt unless the run was stopped.
    if (!stopped && replace_staging_)
      context_.staging().Retarget(request_.drives, dest + "archive.txt");
    Status replaced = Replace_together({&context_.staging(), &context_.page()});
    if (!replaced.ok()) return Fail(replaced);
    if (context_.status_text() == "Running...") context_.Show_status("");
    context_.Show_status(context_.status_text() + " Done!");
    observer_.Running(false);
    RunOutcome outcome{stopped ? RunEnd::kStopped : RunEnd::kCompleted, ""};
    if (!source.ok()) {
      // A damaged catalogue: what was read is archived, then the user hears why.
      outcome.message = source.message();
    }
    if (!kept_note.empty()) outcome.message += (outcome.message.empty() ? "" : "\r") + kept_note;
    if (!outcome.message.empty()) observer_.Message_box(outcome.message, Buttons::kOk);
    return outcome;
  }

  // What a run that made no record found, for its refusal.
  std::string What_was_found() {
    if (mode_ == RunMode::kMaster)
      return request_.dest_dir + " has no subdirectory with an archive page (archive.htm)";
    if (mode_ == RunMode::kSourceDirectory)
      return request_.src_dir + " holds no picture that could be archived";
    return catalogue_path_ + " names no picture that could be archived";
  }

  // The run cannot be done: the files it was writing are dropped, so the
  // previous archive stays as it was.
  RunOutcome Fail(const Status& status) {
    catalogue_.Close();
    context_.page().Discard();
    context_.staging().Discard();
    observer_.Running(false);
    observer_.Message_box(status.message(), Buttons::kOk);
    return {RunEnd::kFailed, status.message()};
  }

  RunRequest request_;  // the run's own copy, taken at the start
  RunObserver& observer_;
  const StopRequest& stop_;
  LabelDriveTable own_labels_;  // when the front end keeps none
  ArchiveLock lock_;            // held until the run's files are written or dropped
  RunContext context_;
  CatalogueFile catalogue_;
  const RunMode mode_;
  std::string catalogue_path_;
  MetadataOption metadata_;
  const CatalogueType* catalogue_type_ = nullptr;
  bool replace_staging_ = false;
  bool source_checks_stop_ = true;
};

}  // namespace

RunOutcome Make_archive(const RunRequest& request, RunObserver& observer, const StopRequest& stop) {
  return Run(request, observer, stop).Go();
}

}  // namespace zendrel
