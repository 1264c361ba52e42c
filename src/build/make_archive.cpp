#include "build/make_archive.h"

#include <algorithm>
#include <optional>

#include "build/archive_shrink.h"
#include "build/catalogue_types.h"
#include "build/copy_texture.h"
#include "build/run_context.h"
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
  std::string Dest_dir() override { return run_.host().Dest_dir(); }
  void Count_one() override { run_.Count_one(); }
  void Do_events() override { run_.host().Do_events(); }
  bool Stop_requested() override { return run_.Stop_requested(); }

 private:
  RunContext& run_;
};

class Run {
 public:
  explicit Run(Host& host) : host_(host), context_(host) {}

  RunOutcome Go() {
    host_.Set_status_caption("");
    mode_ = host_.Mode();
    if (auto refused = Check_selection()) return *refused;
    if (mode_ != RunMode::kSourceDirectory && mode_ != RunMode::kMaster &&
        host_.Cat_file() == "archive.htm")
      return Edit();
    if (Status locked = lock_.Acquire(host_.Dest_dir()); !locked.ok())
      return Refuse(locked.message());
    if (!Ask_copy_question()) return {RunEnd::kRefused, ""};
    if (Reads_catalogue()) {
      if (auto refused = Open_catalogue()) return *refused;
    }
    if (auto failed = Open_outputs()) return *failed;
    host_.Set_go_caption("Stop");
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
    std::string file = host_.Cat_file();
    bool needs_file = Reads_catalogue() || mode_ == RunMode::kEditArchive;
    if (needs_file && file.empty())
      return Refuse(mode_ == RunMode::kEditArchive ? "Select Archive File" : "Select Catalog File");
    if (needs_file && file == "archive.htm") return std::nullopt;
    if (mode_ == RunMode::kEditArchive || (Reads_catalogue() && !Readable_catalogue_type(file)))
      return Refuse(kNotSupported);
    return std::nullopt;
  }

  RunOutcome Refuse(const std::string& message) {
    host_.Message_box(message, Buttons::kOk);
    return {RunEnd::kRefused, message};
  }

  RunOutcome Edit() {
    Status read = Read_archive_page(Add_backslash(host_.Cat_dir()), Record_table());
    if (!read.ok()) {
      host_.Message_box(read.message(), Buttons::kOk);
      return {RunEnd::kFailed, read.message()};
    }
    host_.Show_record_editor();
    return {RunEnd::kEdited, ""};
  }

  bool Ask_copy_question() {
    bool ask = mode_ == RunMode::kCatalogue ||
               ((mode_ == RunMode::kCatalogueFromSource || mode_ == RunMode::kSourceDirectory) &&
                host_.Dest_dir() != host_.Src_dir());
    if (!ask) {
      host_.Set_copy_mode(CopyMode::kNoCopy);
      return true;
    }
    host_.Ask_copy_originals();
    return host_.Copy_mode() != CopyMode::kCancelled;
  }

  // The availability check, before anything of the destination is touched.
  std::optional<RunOutcome> Open_catalogue() {
    catalogue_path_ = Add_backslash(host_.Cat_dir()) + host_.Cat_file();
    // The type is told by the whole path (the name passed the check above);
    // the database reader opens its file itself, every other one reads the
    // bytes opened here.
    catalogue_type_ = Readable_catalogue_type(catalogue_path_);
    if (catalogue_type_ && catalogue_type_->opens_file_itself) return std::nullopt;
    for (;;) {
      CatalogueFile::Result result = catalogue_.Open(catalogue_path_);
      if (result == CatalogueFile::Result::kOpened) return std::nullopt;
      if (result == CatalogueFile::Result::kInUse) {
        std::string text = host_.Cat_file() + " is currently open by another program.\r" +
                           "Please close the file and try again.";
        if (host_.Message_box(text, Buttons::kRetryCancel) == Answer::kRetry) continue;
        return RunOutcome{RunEnd::kRefused, text};
      }
      std::string text = !catalogue_.refusal().empty()
                             ? catalogue_.refusal()
                             : host_.Cat_file() + " Error " +
                                   std::to_string(catalogue_.error_number()) + " (" +
                                   Errno_text(catalogue_.error_number()) + ")";
      host_.Message_box(text, Buttons::kOk);
      return RunOutcome{RunEnd::kRefused, text};
    }
  }

  std::optional<RunOutcome> Open_outputs() {
    std::string dest = Add_backslash(host_.Dest_dir());
    replace_staging_ = Reads_catalogue() && catalogue_path_ == dest + "archive.txt";
    Status opened = context_.page().Open(dest + "archive.htm");
    if (opened.ok()) {
      Write_page_head(context_.page());
      opened = context_.staging().Open(dest + (replace_staging_ ? "archive2.txt" : "archive.txt"));
    }
    if (!opened.ok()) return Fail(opened);
    return std::nullopt;
  }

  Status Call_source() {
    if (mode_ == RunMode::kSourceDirectory) {
      // A source directory that cannot be listed, or that goes away, is no
      // archive of it: the run fails and the previous archive stays.
      metadata_.take = host_.Take_metadata();
      Status scanned = Scan_source(host_.Src_dir(), context_, &metadata_);
      if (!scanned.ok()) context_.Fail(scanned);
      return Status();
    }
    if (mode_ == RunMode::kMaster) {
      MasterRunOf master(context_);
      return Make_master(master);
    }
    const std::string& path = catalogue_path_;
    if (!catalogue_type_) {
      host_.Message_box(kNotSupported, Buttons::kOk);
      return Status();
    }
    source_checks_stop_ = catalogue_type_->honours_stop;
    Status status = catalogue_type_->read({path, catalogue_.bytes(), context_, host_});
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
      host_.Metadata_damaged_file(file);
    }
    if (archived > 0) host_.Metadata_damaged(archived);
  }

  // Everything of the run is written completely before anything is
  // replaced, so a disk that fills at the end leaves the previous archive
  // whole rather than a new catalogue beside an old page.
  RunOutcome Complete(const Status& source) {
    catalogue_.Close();
    context_.Stop_requested();  // picks up a write failure of the last picture
    if (!context_.failure().ok()) return Fail(context_.failure());
    bool stopped = host_.Go_caption().empty();
    std::string dest = Add_backslash(host_.Dest_dir());
    if (!source.ok() && Reads_catalogue() && File_exists(dest + "archive.htm")) {
      // A catalogue found damaged never costs the archive already there.
      return Fail(Status::Error(source.message() + "\r" + "The archive in " + host_.Dest_dir() +
                                " was left as it was."));
    }
    // The staging file holds a header and then one line per record.
    int records = int(std::max(0LL, context_.staging().lines_written() - 1));
    if (records == 0 && !stopped) {
      if (auto refused = Refuse_empty_run(host_.Dest_dir(), What_was_found()))
        return Fail(*refused);
    }
    std::string kept_note;
    if (stopped) {
      Status kept = Keep_page_a_stop_would_shorten(host_.Dest_dir(), records, &kept_note);
      if (!kept.ok()) return Fail(kept);
    }
    if (Status texture = Copy_texture(host_.Dest_dir()); !texture.ok()) return Fail(texture);
    Write_page_tail(context_.page());
    // archive2.txt, written beside the catalogue being read, becomes
    // archive.txt unless the run was stopped.
    if (!stopped && replace_staging_) context_.staging().Retarget(dest + "archive.txt");
    Status replaced = Replace_together({&context_.staging(), &context_.page()});
    if (!replaced.ok()) return Fail(replaced);
    if (host_.Status_caption() == "Running...") host_.Set_status_caption("");
    host_.Set_status_caption(host_.Status_caption() + " Done!");
    host_.Set_go_caption("Go");
    RunOutcome outcome{stopped ? RunEnd::kStopped : RunEnd::kCompleted, ""};
    if (!source.ok()) {
      // A damaged catalogue: what was read is archived, then the user hears why.
      outcome.message = source.message();
    }
    if (!kept_note.empty()) outcome.message += (outcome.message.empty() ? "" : "\r") + kept_note;
    if (!outcome.message.empty()) host_.Message_box(outcome.message, Buttons::kOk);
    return outcome;
  }

  // What a run that made no record found, for its refusal.
  std::string What_was_found() {
    if (mode_ == RunMode::kMaster)
      return host_.Dest_dir() + " has no subdirectory with an archive page (archive.htm)";
    if (mode_ == RunMode::kSourceDirectory)
      return host_.Src_dir() + " holds no picture (*.jpg) that could be archived";
    return catalogue_path_ + " names no picture that could be archived";
  }

  // The run cannot be done: the files it was writing are dropped, so the
  // previous archive stays as it was.
  RunOutcome Fail(const Status& status) {
    catalogue_.Close();
    context_.page().Discard();
    context_.staging().Discard();
    host_.Set_go_caption("Go");
    host_.Message_box(status.message(), Buttons::kOk);
    return {RunEnd::kFailed, status.message()};
  }

  Host& host_;
  ArchiveLock lock_;  // held until the run's files are written or dropped
  RunContext context_;
  CatalogueFile catalogue_;
  RunMode mode_ = RunMode::kCatalogue;
  std::string catalogue_path_;
  MetadataOption metadata_;
  const CatalogueType* catalogue_type_ = nullptr;
  bool replace_staging_ = false;
  bool source_checks_stop_ = true;
};

}  // namespace

RunOutcome Make_archive(Host& host) { return Run(host).Go(); }

RunOutcome Go_Click(Host& host) {
  if (host.Go_caption() == "Go") return Make_archive(host);
  host.Set_go_caption("");
  return {RunEnd::kStopped, ""};
}

bool Exit_Click(Host& host) {
  if (host.Go_caption() == "Go") return true;
  host.Set_go_caption("");
  return false;
}

}  // namespace zendrel
