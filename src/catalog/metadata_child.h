// Reads the metadata of a run's pictures in a child process, ahead of the
// run: Exiv2 has crashed and hung on hostile files, and neither may take
// the run down. The child reads the pictures in order and sends each one's
// fields through a pipe. A child that dies, or that is silent for too long
// over one picture, costs that picture its metadata (it is counted as
// damaged) and a new child takes the pictures after it.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "catalog/picture_metadata.h"

namespace zendrel {

class MetadataChild {
 public:
  using Reader = std::function<PictureMetadata(const std::string& native_path)>;

  // `native_paths` in the order Next() will ask for them; an empty path
  // has no metadata. The first child starts here.
  explicit MetadataChild(std::vector<std::string> native_paths,
                         Reader reader = Read_picture_metadata, int silence_limit_ms = 30000);
  ~MetadataChild();
  MetadataChild(const MetadataChild&) = delete;
  MetadataChild& operator=(const MetadataChild&) = delete;

  // The metadata of the next path.
  PictureMetadata Next();

 private:
  void Start(size_t first);
  void End_child();
  bool Fill();
  bool Take(PictureMetadata* metadata);

  std::vector<std::string> paths_;
  Reader reader_;
  int silence_limit_ms_;
  size_t next_ = 0;  // the index Next() hands out
  pid_t child_ = -1;
  int fd_ = -1;
  std::string buffer_;
};

}  // namespace zendrel
