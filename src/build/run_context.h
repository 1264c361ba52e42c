// The state of one build run: the request it carries out, the observer it
// reports to, the page and staging files it writes, and picture processing's count, names and work
// ahead. Made by Make_archive for one run and handed to the source; the sources see it as a
// PictureSink.
//
// Pictures are scaled on worker threads ahead of the run's thread, a
// bounded number at a time; everything a picture writes (its files, its
// record and staging lines, its count) is written on the run's thread in
// the order the source delivered the pictures, so a run writes exactly
// what a run on one thread would. All calls come from the run's thread.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_set>

#include "build/archive_names.h"
#include "build/pending_picture.h"
#include "build/run_observer.h"
#include "build/run_request.h"
#include "build/scaling_pool.h"
#include "catalog/picture_record.h"
#include "platform/output_file.h"
#include "platform/status.h"

namespace zendrel {

class PictureProcessing;

class RunContext : public PictureSink {
 public:
  // `request` and `observer` outlive the context.
  RunContext(const RunRequest& request, RunObserver& observer, const StopRequest& stop);
  ~RunContext() override;

  const RunRequest& request() const { return request_; }
  RunObserver& observer() { return observer_; }
  OutputFile& page() { return page_; }
  OutputFile& staging() { return staging_; }

  // Takes the picture in, and writes the oldest pictures whose turn has come.
  void Add_picture(const PictureRecord& record) override;
  // A stop asked for by the user or forced by a failure that ends the run.
  bool Stop_requested() override;
  // Told to the host with the kind as its reason.
  void File_left_out(const std::string& file, LeftOut kind) override;
  void Expect_pictures(int32_t total) override { total_ = total; }
  // After the source: writes the pictures still ahead. With `honour_stop`
  // (every source that looks at the stop request), a stop drops those that
  // a source stopping after the current picture would never have delivered.
  void Finish_pictures(bool honour_stop);

  // A failure that ends the run (a destination that cannot be written):
  // the first one is kept, and the run stops at the next check.
  void Fail(const Status& status);
  const Status& failure() const { return failure_; }

  // Shows the count after each picture; the master counts pages with it.
  void Count_one();
  int32_t picture_count() const { return picture_count_; }
  // Whether the picture a source delivered as `source_file` is in the page.
  bool Archived(const std::string& source_file) const { return archived_.count(source_file) > 0; }
  // One more picture (or page) handled, written or not: the progress.
  void Advance();

  // The status line, kept here so that the run never reads it back.
  void Show_status(const std::string& text);
  const std::string& status_text() const { return status_; }

 private:
  void Start_if_first();
  void Write_staging_header_once();
  PictureProcessing Processing();
  void Write_oldest();
  void Drop_pending();

  const RunRequest& request_;
  RunObserver& observer_;
  const StopRequest& stop_;
  std::string status_;
  OutputFile page_;
  OutputFile staging_;
  RunNames names_;
  int32_t picture_count_ = 0;
  int32_t handled_ = 0;        // pictures written or skipped, for the progress
  int32_t total_ = -1;         // pictures the source will deliver; -1 when not known
  bool first_picture_ = true;  // the run's start, recorded rather than guessed
  Status failure_;
  std::unique_ptr<ScalingPool> pool_;  // made at the first picture
  std::deque<PendingPicture> pending_;
  size_t ahead_ = 2;                     // pictures taken in before the oldest must be written
  bool staging_header_written_ = false;  // once per run
  std::unordered_set<std::string> archived_;
};

}  // namespace zendrel
