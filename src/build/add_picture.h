// Picture processing: one picture, as a source delivers it, becomes its
// display copy, thumbnail, optional copy of the original, record line and
// staging line. The run hands it the parts of its state a picture uses.
#pragma once

#include "build/archive_names.h"
#include "build/pending_picture.h"
#include "build/run_observer.h"
#include "build/run_request.h"
#include "build/scaling_pool.h"
#include "catalog/picture_record.h"

namespace zendrel {

class RunContext;

class PictureProcessing {
 public:
  PictureProcessing(RunContext& run, RunNames& names, ScalingPool& pool);

  // Everything up to the picture's names, on the run's thread; its copies
  // start on a worker.
  PendingPicture Take_in(const PictureRecord& record);
  // In delivery order: true when the picture was written to the archive.
  bool Write(PendingPicture& p);

 private:
  PendingPicture Skip(PendingPicture& p, SkipReason reason, const std::string& detail = {});
  // The file as the picture was looked for (in mode 2, in the source directory).
  void Tell_skipped(const PendingPicture& p, SkipReason reason, const std::string& detail = {});
  bool Write_copies(const PendingPicture& p, const ArchiveJpegs& copies);
  void Copy_original(const PendingPicture& p);
  void Copy_under_unique_name(const PendingPicture& p);
  void Copy_to(const PendingPicture& p, const std::string& native_copy, const std::string& copy);
  void Write_lines(const PendingPicture& p);

  RunContext& run_;
  const RunRequest& request_;
  const DriveTable& drives_;  // the request's
  RunObserver& observer_;
  RunNames& names_;
  ScalingPool& pool_;
};

}  // namespace zendrel
