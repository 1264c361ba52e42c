// What every reader's fuzz target shares: a sink that only looks at what it
// is handed, and a drive table whose drives lead nowhere, so the readers'
// date look-ups stay quick and touch no real file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalog/picture_record.h"
#include "platform/drive_table.h"

namespace zendrel::fuzz {

class CountingSink : public PictureSink {
 public:
  size_t pictures = 0, bytes = 0;
  void Add_picture(const PictureRecord& r) override {
    ++pictures;
    bytes += r.SourceFile.size() + r.Title.size() + r.Subject.size() + r.Category.size() +
             r.Comment.size() + r.Author.size() + r.Date.size();
  }
  bool Stop_requested() override { return false; }
};

// Drives on a directory that is not there: a reader's date look-ups cost
// what a missing file costs, and no real disk is searched.
inline DriveTable Empty_drives() {
  DriveTable drives;
  drives.Set('C', "/nonexistent-zendrel-fuzz");
  drives.Set('D', "/nonexistent-zendrel-fuzz", "PHOTOS99");
  return drives;
}

inline std::string Bytes(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace zendrel::fuzz
