#include "build/run_context.h"

#include "build/add_picture.h"

namespace zendrel {
namespace {

constexpr char kStagingHeader[] = "SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate";

}  // namespace

RunContext::RunContext(const RunRequest& request, RunObserver& observer, const StopRequest& stop)
    : request_(request), observer_(observer), stop_(stop) {}

// Pending pictures go first, then the pool, which waits for its workers.
RunContext::~RunContext() { Drop_pending(); }

void RunContext::Add_picture(const PictureRecord& record) {
  Start_if_first();
  Write_staging_header_once();
  pending_.push_back(Processing().Take_in(record));
  while (pending_.size() > ahead_) Write_oldest();
}

void RunContext::Start_if_first() {
  if (!first_picture_) return;
  first_picture_ = false;
  picture_count_ = 0;
  staging_header_written_ = false;
  Show_status("Running...");
  pool_ = std::make_unique<ScalingPool>(request_.jobs);
  ahead_ = size_t(2 * pool_->threads());
}

void RunContext::Write_staging_header_once() {
  if (staging_header_written_) return;
  staging_.Write_line(kStagingHeader);
  staging_header_written_ = true;
}

PictureProcessing RunContext::Processing() { return PictureProcessing(*this, names_, *pool_); }

void RunContext::Write_oldest() {
  PendingPicture picture = std::move(pending_.front());
  pending_.pop_front();
  if (Processing().Write(picture)) {
    Count_one();
    archived_.insert(picture.record.SourceFile);
  }
  Advance();
  observer_.Do_events();
}

void RunContext::Finish_pictures(bool honour_stop) {
  while (!pending_.empty()) {
    if (honour_stop && Stop_requested()) break;
    Write_oldest();
  }
  Drop_pending();
}

void RunContext::Drop_pending() {
  pending_.clear();
  if (pool_) pool_->Drop_waiting();
}

bool RunContext::Stop_requested() {
  if (!page_.status().ok()) Fail(page_.status());
  if (!staging_.status().ok()) Fail(staging_.status());
  return !failure_.ok() || stop_.Requested();
}

void RunContext::File_left_out(const std::string& file, LeftOut kind) {
  SkipReason reason = SkipReason::kNameUnrepresentable;
  switch (kind) {
    case LeftOut::kVideo:
      reason = SkipReason::kVideo;
      break;
    case LeftOut::kRawPhoto:
      reason = SkipReason::kRawPhoto;
      break;
    case LeftOut::kSidecar:
      reason = SkipReason::kSidecar;
      break;
    case LeftOut::kSound:
      reason = SkipReason::kSound;
      break;
    case LeftOut::kDanglingLink:
      reason = SkipReason::kDanglingLink;
      break;
    case LeftOut::kTrailingSpace:
      reason = SkipReason::kTrailingSpace;
      break;
    case LeftOut::kUnfitCharacter:
      reason = SkipReason::kUnfitCharacter;
      break;
    case LeftOut::kNameUnrepresentable:
      break;
  }
  observer_.Picture_skipped(file, reason, {});
}

void RunContext::Fail(const Status& status) {
  if (failure_.ok()) failure_ = status;
}

void RunContext::Count_one() {
  ++picture_count_;
  Show_status(std::to_string(picture_count_));
}

void RunContext::Advance() {
  ++handled_;
  // A source that delivers more than it announced is still counted right.
  observer_.Progress(handled_, total_ >= handled_ ? total_ : -1);
}

void RunContext::Show_status(const std::string& text) {
  status_ = text;
  observer_.Status(text);
}

}  // namespace zendrel
