// The date a catalogue reader gives a picture that its catalogue does not
// date: the file's last modification as "mmmm d, yyyy", or empty when the
// file cannot be reached. Pictures share few folders, so a folder found
// missing once (a disc that is not inserted) is not searched again for each
// of its pictures during one reading. One per reading; not thread-safe.
#pragma once

#include <string>
#include <unordered_map>

#include "platform/drive_table.h"

namespace zendrel {

class PictureDates {
 public:
  // `drives` outlives the reading.
  explicit PictureDates(const DriveTable& drives) : drives_(drives) {}
  std::string Date_of(const std::string& path);

 private:
  const DriveTable& drives_;
  std::unordered_map<std::string, bool> folder_exists_;
};

}  // namespace zendrel
