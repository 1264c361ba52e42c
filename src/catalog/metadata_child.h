// Reads the metadata of a run's pictures in a child process, ahead of the
// run: Exiv2 has crashed and hung on hostile files, and neither may take
// the run down. The child (a fresh exec of the program, see ChildProcess)
// is sent the pictures' paths and answers with each one's fields, in
// order. A child that dies, or that is silent for too long over one
// picture, costs that picture its metadata (it is counted as damaged) and
// a new child takes the pictures after it. A stop kills the child at once.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalog/picture_metadata.h"
#include "platform/child_process.h"

namespace zendrel {

// The role that reads pictures with Read_picture_metadata.
inline constexpr char kMetadataRole[] = "metadata";

// The child's side: answers each path the parent sends with `reader`'s
// metadata until the parent ends; the exit status.
int Serve_metadata(int channel, PictureMetadata (*reader)(const std::string& native_path));

class MetadataChild {
 public:
  struct Options {
    std::function<bool()> stop;  // asked while waiting for the child
    std::string role = kMetadataRole;
    int silence_limit_ms = 30000;
  };

  // `native_paths` in the order Next() will ask for them; an empty path
  // has no metadata. The first child starts here.
  explicit MetadataChild(std::vector<std::string> native_paths, Options options);
  explicit MetadataChild(std::vector<std::string> native_paths)
      : MetadataChild(std::move(native_paths), Options()) {}
  MetadataChild(const MetadataChild&) = delete;
  MetadataChild& operator=(const MetadataChild&) = delete;

  // The metadata of the next path; nothing more once a stop was asked for.
  PictureMetadata Next();

 private:
  void Start(size_t first);

  std::vector<std::string> paths_;
  Options options_;
  size_t next_ = 0;  // the index Next() hands out
  bool stopped_ = false;
  ChildProcess child_;
};

}  // namespace zendrel
