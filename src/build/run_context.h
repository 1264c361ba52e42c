// The state of one build run: the host it reads, the page and staging files
// it writes, and picture processing's count and names. Made by
// Make_archive for one run and handed to the source; the sources see it as
// a PictureSink. One thread: the run's.
#pragma once

#include <cstdint>
#include <string>

#include "build/archive_names.h"
#include "build/host.h"
#include "catalog/picture_record.h"
#include "platform/output_file.h"
#include "platform/status.h"

namespace zendrel {

class RunContext : public PictureSink {
 public:
  explicit RunContext(Host& host) : host_(host) {}

  Host& host() { return host_; }
  OutputFile& page() { return page_; }
  OutputFile& staging() { return staging_; }

  // Picture processing (build/add_picture.cpp).
  void Add_picture(const PictureRecord& record) override;
  // A stop asked for by the user (empty Go caption) or forced by a failure
  // that ends the run.
  bool Stop_requested() override;

  // A failure that ends the run (a destination that cannot be written):
  // the first one is kept, and the run stops at the next check.
  void Fail(const Status& status);
  const Status& failure() const { return failure_; }

  // Shows the count after each picture; the master counts pages with it.
  void Count_one();
  int32_t picture_count() const { return picture_count_; }

  // The staging file's header, written once per run.
  bool header_written = false;

 private:
  Host& host_;
  OutputFile page_;
  OutputFile staging_;
  RunNames names_;
  int32_t picture_count_ = 0;
  bool first_picture_ = true;  // the run's start, recorded rather than guessed
  Status failure_;
  friend class PictureProcessing;
};

}  // namespace zendrel
